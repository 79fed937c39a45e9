#include "core/widgets/WindowHelpers.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace mainMod;

TEST(WindowHelpers, CompactPathByPixelsAndCharacters) {
    const QString path = "/home/user/Music/Some Long Artist Name/Some Long Album/01 - Track.mp3";
    EXPECT_EQ(CompactPath(path, 0, 0), path);
    const QString byChars = CompactPath(path, 0, 30);
    EXPECT_LE(byChars.size(), 30);
    EXPECT_TRUE(byChars.endsWith("/01 - Track.mp3"));
    EXPECT_TRUE(byChars.contains("..."));
    EXPECT_EQ(CompactPath("/short", 0, 30), "/short");
    EXPECT_LE(CompactPath(path, 0, 8).size(), 8);

    QFont font;
    const QString byPixels = CompactPath(path, 120, 0, font);
    EXPECT_LE(QFontMetrics(font).horizontalAdvance(byPixels), 120);
    EXPECT_NE(byPixels, path);
}

TEST(WindowHelpers, SelectAllTextAndRowColour) {
    QLineEdit edit("some text");
    SelectAllText(&edit);
    EXPECT_EQ(edit.selectedText(), "some text");
    SelectAllText(nullptr);

    QTreeWidget tree;
    tree.setColumnCount(3);
    auto* item = new QTreeWidgetItem(&tree, {"a", "b", "c"});
    SetRowColor(item, Qt::red);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(item->foreground(c).color(), QColor(Qt::red));
}
