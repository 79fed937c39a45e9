#include "library/widgets/listTreeConfig.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
QStringList columnTitles() {
    QStringList t;
    for (int i = 1; i <= 12; ++i)
        t << QStringLiteral("C%1").arg(i);
    return t;
}
} // namespace

TEST(ListTreeConfig, ColumnsKeepTheFirstAndTakeTheTicks) {
    AppSettings settings = DefaultSettings();
    settings.Columns[0].Show = false; // hidden in the stored settings
    listTreeConfig chooser(0, columnTitles(), settings);
    EXPECT_EQ(chooser.List1->item(0)->checkState(), Qt::Checked);
    chooser.List1->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(chooser.List1->item(0)->checkState(), Qt::Checked) << "item 0 cannot be cleared";
    chooser.List1->item(1)->setCheckState(Qt::Checked);   // track
    chooser.List1->item(8)->setCheckState(Qt::Unchecked); // size
    chooser.okBut->click();
    EXPECT_EQ(chooser.result(), 1);
    chooser.applyTo(settings);
    EXPECT_TRUE(settings.Columns[0].Show);
    EXPECT_TRUE(settings.Columns[1].Show);
    EXPECT_FALSE(settings.Columns[8].Show);
    EXPECT_TRUE(settings.Columns[2].Show);
}

TEST(ListTreeConfig, BranchesAndCancel) {
    AppSettings settings;
    settings.ShowRatings = false;
    listTreeConfig chooser(1, {"Library", "Filters", "Rating", "My Virtual Folders"}, settings);
    EXPECT_EQ(chooser.List1->item(2)->checkState(), Qt::Unchecked);
    chooser.List1->item(1)->setCheckState(Qt::Unchecked);
    chooser.cancelBUT->click();
    EXPECT_EQ(chooser.result(), 2);

    listTreeConfig again(1, {"Library", "Filters", "Rating", "My Virtual Folders"}, settings);
    again.List1->item(2)->setCheckState(Qt::Checked);
    again.List1->item(3)->setCheckState(Qt::Unchecked);
    again.okBut->click();
    again.applyTo(settings);
    EXPECT_TRUE(settings.ShowFilters);
    EXPECT_TRUE(settings.ShowRatings);
    EXPECT_FALSE(settings.ShowVFolders);
    EXPECT_TRUE(settings.ShowLibrary);
}
