// "qvr props" prints what the properties dialog shows.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

namespace {

class QvrPropsTest : public CliTest {
protected:
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    // The value of one "FIELD<TAB>value" line.
    static QString value(const QString& out, const QString& field) {
        for (const QString& line : out.split(QLatin1Char('\n')))
            if (line.section(QLatin1Char('\t'), 0, 0) == field)
                return line.section(QLatin1Char('\t'), 1);
        return QStringLiteral("<missing>");
    }
};

TEST_F(QvrPropsTest, LibraryFilesAndFilesOutsideIt) {
    fixtures::TagFields tags;
    tags.artist = "Artist";
    tags.genre = "Jazz";
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/one.mp3"), tags));
    ASSERT_TRUE(fixtures::WriteWav(music() + QStringLiteral("/two.wav")));
    ProcessResult r = qvr({"scan", music()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    r = qvr({"props", music() + QStringLiteral("/one.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(value(r.out, "filename"), "one.mp3");
    EXPECT_EQ(value(r.out, "location"), music());
    EXPECT_EQ(value(r.out, "type"), "MP3");
    EXPECT_EQ(value(r.out, "tagtab"), "yes");
    EXPECT_EQ(value(r.out, "librarytab"), "yes");
    EXPECT_EQ(value(r.out, "artist"), "Artist");
    EXPECT_EQ(value(r.out, "genrelist"), "Jazz");
    EXPECT_FALSE(value(r.out, "rating").isEmpty());

    r = qvr({"props", music() + QStringLiteral("/two.wav"), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"tagtab\":\"no\"")) << r.out.toStdString();

    ASSERT_TRUE(fixtures::WriteMp3(dir.path() + QStringLiteral("/outside.mp3"), tags));
    r = qvr({"props", dir.path() + QStringLiteral("/outside.mp3")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(value(r.out, "librarytab"), "no");
    EXPECT_EQ(value(r.out, "rating"), "");
    EXPECT_EQ(value(r.out, "added"), "");

    r = qvr({"props", "424242"});
    EXPECT_EQ(r.exitCode, 1);
}

} // namespace
