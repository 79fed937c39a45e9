// Query and read answers of a CDDB server, as the transport presents them.
#include "cddb/CddbAnswer.h"
#include "util/clsWEncode.h"

#include <gtest/gtest.h>

namespace {

QString wrap(const QString& text) {
    return QStringLiteral("<PRE>") + text + QStringLiteral("</PRE>");
}

} // namespace

TEST(CddbAnswer, QueryCodesAndTheirFailures) {
    const clsWEncode e;
    const cddb::QueryAnswer one =
        cddb::ParseQuery(wrap("200 rock 2000501 Some &amp; Band / First / Last\r\n"), e);
    ASSERT_EQ(one.failure, cddb::Failure::None);
    EXPECT_FALSE(one.several());
    EXPECT_EQ(one.result.category, QStringLiteral("rock"));
    EXPECT_EQ(one.result.discId, QStringLiteral("2000501"));
    EXPECT_EQ(one.result.artist, QStringLiteral("Some & Band"));
    EXPECT_EQ(one.result.album, QStringLiteral("First / Last"));

    EXPECT_EQ(cddb::ParseQuery(wrap("202 No match found\r\n"), e).failure, cddb::Failure::NoMatch);
    EXPECT_EQ(cddb::ParseQuery(wrap("403 Database entry is corrupt\r\n"), e).failure,
              cddb::Failure::BadAnswer);
    EXPECT_EQ(cddb::ParseQuery("200 rock 1 a / b", e).failure, cddb::Failure::BadAnswer)
        << "an answer outside the <PRE> block";
    EXPECT_EQ(cddb::ParseQuery("  \r\n", e).failure, cddb::Failure::NoAnswer);
    EXPECT_EQ(cddb::ParseQuery(QString(), e).failure, cddb::Failure::NoAnswer);
    const cddb::QueryAnswer lower = cddb::ParseQuery(" <pre>200 jazz 1 Artistless</pre> ", e);
    EXPECT_EQ(lower.failure, cddb::Failure::None) << "lower-case tags are accepted";
    EXPECT_EQ(lower.result.artist, QString()) << "a match line without \" / \"";
}

TEST(CddbAnswer, SeveralMatchesListAtMost98) {
    const clsWEncode e;
    QString text = QStringLiteral("211 Found inexact matches\r\n\r\n");
    for (int i = 0; i < 120; ++i)
        text += QStringLiteral("misc %1 Artist %2 / Album %2\r\n").arg(1000 + i, 0, 16).arg(i);
    text += QStringLiteral(".\r\nrock ffff After / Dot\r\n");
    const cddb::QueryAnswer a = cddb::ParseQuery(wrap(text), e);
    ASSERT_EQ(a.failure, cddb::Failure::None);
    EXPECT_TRUE(a.several());
    EXPECT_EQ(a.result.discId, QStringLiteral("%SELECT$"));
    ASSERT_EQ(a.matches.size(), 98);
    EXPECT_EQ(a.matches.first().line, 2) << "the empty line 1 is skipped but counted as a line";
    EXPECT_EQ(a.matches.last().disc.artist, QStringLiteral("Artist 97"));
    EXPECT_EQ(a.matches.last().disc.discId, QStringLiteral("449"));
}

TEST(CddbAnswer, ReadJoinsLongTitlesAndCutsTheYear) {
    const clsWEncode e;
    QString text = QStringLiteral("210 rock 2000501 CD database entry follows\r\n"
                                  "# xmcd\r\nDTITLE=Ignored / Here\r\nDYEAR= 19999 \r\n"
                                  "dgenre= Hard &amp; Heavy \r\n");
    for (int n = 0; n < 12; ++n)
        text += QStringLiteral("TTITLE%1=Song %1\r\n").arg(n);
    text += QStringLiteral("TTITLE3= and more\r\nTTITLE1x=not a title\r\nEXTT0=x\r\n.\r\n"
                           "TTITLE12=after the end\r\n");
    CdInfo disc;
    disc.artist = QStringLiteral("Kept");
    ASSERT_EQ(cddb::ParseRead(wrap(text), disc, e), cddb::Failure::None);
    EXPECT_EQ(disc.trackCount, 12);
    EXPECT_EQ(disc.tracks[0].number, 1);
    EXPECT_EQ(disc.tracks[11].number, 12);
    EXPECT_EQ(disc.tracks[3].title, QStringLiteral("Song 3 and more"));
    EXPECT_EQ(disc.tracks[12].title, QString());
    EXPECT_EQ(disc.year, QStringLiteral("1999"));
    EXPECT_EQ(disc.genre, QStringLiteral("Hard & Heavy"));
    EXPECT_EQ(disc.artist, QStringLiteral("Kept")) << "artist and album come from the query";

    EXPECT_EQ(cddb::ParseRead(wrap("401 Specified CDDB entry not found.\r\n"), disc, e),
              cddb::Failure::BadAnswer);
    EXPECT_EQ(cddb::ParseRead(QString(), disc, e), cddb::Failure::NoAnswer);
}
