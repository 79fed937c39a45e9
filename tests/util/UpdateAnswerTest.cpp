#include "util/UpdateAnswer.h"
#include "util/VersionCompare.h"

#include <gtest/gtest.h>

using mainMod::CompareVersions;
using mainMod::NormalizeVersion;
using mainMod::ParseUpdateAnswer;

TEST(UpdateVersions, NormaliseToFourDecimalParts) {
    EXPECT_EQ(NormalizeVersion("1.2"), "1.2.0.0");
    EXPECT_EQ(NormalizeVersion("1.2.3.4.5"), "1.2.3.4");
    EXPECT_EQ(NormalizeVersion("007.x.3b"), "7.0.3.0");
    EXPECT_EQ(NormalizeVersion(""), "0.0.0.0");
    EXPECT_EQ(NormalizeVersion("99999999999999999999999.1"), "99999999999999999999999.1.0.0");
}

TEST(UpdateVersions, CompareTheJoinedTextsCharacterByCharacter) {
    EXPECT_EQ(CompareVersions("1.2.0.0", "1.2"), 0);
    EXPECT_EQ(CompareVersions("1.9.9.9", "2.0.0.0"), 2);
    EXPECT_EQ(CompareVersions("2.0", "1.9.9.9"), 1);
    EXPECT_EQ(CompareVersions("1.02", "1.2.0"), 0);
    // Text order: "1.10" sorts before "1.9".
    EXPECT_EQ(CompareVersions("1.9", "1.10"), 1);
    EXPECT_EQ(CompareVersions("1.2.0.1", "1.2.0.10"), 2);
}

TEST(UpdateAnswerPage, KeysValuesAndIgnoredLines) {
    const auto a = ParseUpdateAnswer(" Version = 2.1 \r\n"
                                     "@version=9.9\r\n"
                                     "no equals sign\r\n"
                                     "\r\n"
                                     "RDATE=2026-03-01\r\n"
                                     "[eof]",
                                     true);
    EXPECT_TRUE(a.complete) << "[EOF] is compared without regard to case";
    EXPECT_EQ(a.version, "2.1");
    EXPECT_EQ(a.releaseDate, QDate(2026, 3, 1));
    EXPECT_FALSE(a.beta);
    EXPECT_TRUE(a.message().isEmpty());
    EXPECT_FALSE(ParseUpdateAnswer("version=2.1\r\n[EOF] trailing", true).complete);
    EXPECT_FALSE(ParseUpdateAnswer("version=2.1\r\n", true).complete);
}

TEST(UpdateAnswerPage, BetaFlags) {
    EXPECT_TRUE(ParseUpdateAnswer("isbeta=TRUE\r\n[EOF]", true).beta);
    EXPECT_TRUE(ParseUpdateAnswer("beta=1\r\n[EOF]", true).beta);
    EXPECT_FALSE(ParseUpdateAnswer("isbeta=yes\r\n[EOF]", true).beta);
    EXPECT_FALSE(ParseUpdateAnswer("beta=0\r\n[EOF]", true).beta);
}

TEST(UpdateAnswerPage, ReleaseDateOnlyWhenValid) {
    EXPECT_FALSE(ParseUpdateAnswer("rdate=soon\r\n[EOF]", true).releaseDate.isValid());
    EXPECT_FALSE(ParseUpdateAnswer("release_date=2026-02-30\r\n[EOF]", true).releaseDate.isValid());
    EXPECT_EQ(ParseUpdateAnswer("release date=2026/7/4\r\n[EOF]", true).releaseDate,
              QDate(2026, 7, 4));
    // A bad date later on keeps the good one.
    EXPECT_EQ(ParseUpdateAnswer("rdate=2026-01-02\r\nrdate=x\r\n[EOF]", true).releaseDate,
              QDate(2026, 1, 2));
}

TEST(UpdateAnswerPage, MessageBoxLine) {
    const auto a = ParseUpdateAnswer("msgbox= News | Line one\\nLine two \r\n[EOF]", true);
    EXPECT_EQ(a.messageTitle, "News");
    EXPECT_EQ(a.messageText, "Line one\r\nLine two");
    EXPECT_EQ(a.message(), "News\r\nLine one\r\nLine two");
    const auto plain = ParseUpdateAnswer("msg=Just text\r\n[EOF]", true);
    EXPECT_TRUE(plain.messageTitle.isEmpty());
    EXPECT_EQ(plain.message(), "Just text");
    EXPECT_EQ(ParseUpdateAnswer("say=Hello\\nthere\r\n[EOF]", true).message(), "Hello\r\nthere");
    EXPECT_EQ(ParseUpdateAnswer("say=Hello\r\nmsg=T|Box\r\n[EOF]", true).message(), "T\r\nBox");
}

TEST(UpdateAnswerPage, RedirectStopsTheReadingOnlyWhileAllowed) {
    const QString page = "version=1.0\r\nredir=http://127.0.0.1/next\r\nversion=2.0\r\n[EOF]";
    const auto followed = ParseUpdateAnswer(page, true);
    EXPECT_EQ(followed.redirect, "http://127.0.0.1/next");
    const auto read = ParseUpdateAnswer(page, false);
    EXPECT_TRUE(read.redirect.isEmpty());
    EXPECT_EQ(read.version, "2.0");
    EXPECT_TRUE(ParseUpdateAnswer("redirect=\r\nversion=1\r\n[EOF]", true).redirect.isEmpty())
        << "an empty address is no redirect";
}
