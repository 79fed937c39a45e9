#include "util/UpdateNotice.h"
#include "core/AppInfo.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "util/UpdateSettings.h"

#include <gtest/gtest.h>

class UpdateNoticeTexts : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        lang.SetLangFolder(mainMod::LangFolder());
        lang.SetLCID(GetParam());
        ASSERT_EQ(lang.LCID(), GetParam());
        for (const int n : {88, 90, 91, 911, 912, 913})
            ASSERT_TRUE(lang.HasText(clsMUI::NumberKey(n))) << n;
        mainMod::SetLang(&lang);
    }
    void TearDown() override { mainMod::SetLang(nullptr); }
    clsMUI lang;
};

TEST_P(UpdateNoticeTexts, NewVersionNoticeNamesVersionDateProductAndAddress) {
    const auto notice = mainMod::UpdateAvailableNotice("2.0.1", QDate(2026, 3, 1), "News\r\nText");
    EXPECT_EQ(notice.title, lang.Text(911));
    for (const QString& part :
         QStringList{"2.0.1", "2026-03-01", mainMod::AppName(), mainMod::ProductWebAddress()})
        EXPECT_TRUE(notice.text.contains(part)) << part.toStdString();
    EXPECT_TRUE(notice.text.endsWith("\r\n\r\nNews\r\nText"));
    EXPECT_FALSE(mainMod::UpdateAvailableNotice("2", QDate(), "").text.endsWith("\r\n"));
}

TEST_P(UpdateNoticeTexts, FailureNoticeCarriesTheReason) {
    const auto notice = mainMod::UpdateFailedNotice(lang.Text(90));
    EXPECT_EQ(notice.title, lang.Text(913));
    EXPECT_TRUE(notice.text.contains(lang.Text(90)));
    EXPECT_NE(notice.text, lang.Text(90));
}

INSTANTIATE_TEST_SUITE_P(Languages, UpdateNoticeTexts, ::testing::Values(1033, 1031, 2070));
