// The list's column captions fit their default widths in every shipped language,
// so that no caption is cut before the user has touched a column.
#include "core/AppInfo.h"
#include "core/AppSettings.h"
#include "lang/Mui.h"
#include "library/ListColumns.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <gtest/gtest.h>

TEST(ColumnCaptions, FitTheirDefaultWidthsInEveryLanguage) {
    const AppSettings defaults = DefaultSettings();
    QTreeView view;
    const QHeaderView* header = view.header();
    const QFontMetrics fm(header->font());
    // Both margins of a section.
    const int chrome = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    clsMUI lang;
    lang.SetLangFolder(mainMod::LangFolder());
    ASSERT_GE(lang.AvailableLangCount(), 3);
    QStringList cut;
    for (int i = 0; i < lang.AvailableLangCount(); ++i) {
        lang.SetLCID(lang.AvailableLCID(i));
        for (int c = 0; c < ListColumns::Count; ++c) {
            const QString caption = lang.Text(ListColumns::HeaderTextNumber(c));
            const int width = defaults.Columns[c].Width / 15; // twips at 96 dpi
            const int needed = fm.horizontalAdvance(caption) + chrome;
            if (needed > width)
                cut << QStringLiteral("%1 column %2 \"%3\": %4 px in %5")
                           .arg(lang.AvailableLangName(i))
                           .arg(c + 1)
                           .arg(caption)
                           .arg(needed)
                           .arg(width);
        }
    }
    EXPECT_TRUE(cut.isEmpty()) << cut.join('\n').toStdString();
}
