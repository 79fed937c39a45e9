// qvr convert: library files by id to another format, one result line per file.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QFileInfo>

namespace {

class ConvertFilesCommandTest : public CliTest {
protected:
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    QString out() const { return dir.path() + QStringLiteral("/out"); }
    // The id of the library row with that file name.
    QString idOf(const QString& fileName) const {
        const ProcessResult r =
            qvr({QStringLiteral("sql"),
                 QStringLiteral("select id from files where filename=\"%1\"").arg(fileName)});
        return r.out.section(QLatin1Char('\n'), 1, 1);
    }
};

TEST_F(ConvertFilesCommandTest, ConvertsByIdReportsEachFileAndNeverOverwrites) {
    ASSERT_TRUE(QDir().mkpath(out()));
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a.mp3"), fixtures::ArtistOnly("A")));
    ASSERT_TRUE(fixtures::WriteWav(music() + QStringLiteral("/b.wav")));
    ASSERT_EQ(qvr({QStringLiteral("scan"), music()}).exitCode, 0);
    const QString a = idOf(QStringLiteral("a.mp3"));
    const QString b = idOf(QStringLiteral("b.wav"));
    ASSERT_FALSE(a.isEmpty());
    ASSERT_FALSE(b.isEmpty());

    // A WAV source cannot become a WAV; an unknown id fails; the MP3 goes on.
    ProcessResult r = qvr({QStringLiteral("convert"), QStringLiteral("--format"),
                           QStringLiteral("WAV"), QStringLiteral("--to"), out(),
                           QStringLiteral("--delete-originals"), b, QStringLiteral("999999"), a});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("999999\tfailed\tno file with this id"));
    EXPECT_TRUE(lines[1].startsWith(b + QStringLiteral("\tfailed\t"))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], a + QStringLiteral("\tcompleted\t") + out() + QStringLiteral("/a.wav"));
    EXPECT_FALSE(QFileInfo::exists(music() + QStringLiteral("/a.mp3")));
    EXPECT_TRUE(QFileInfo::exists(music() + QStringLiteral("/b.wav")));
    EXPECT_TRUE(idOf(QStringLiteral("a.mp3")).isEmpty());
    EXPECT_FALSE(idOf(QStringLiteral("a.wav")).isEmpty());

    // Without --to the target goes beside its source, and joins the library.
    r = qvr({QStringLiteral("convert"), QStringLiteral("--format"), QStringLiteral("mp3"), b});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, b + QStringLiteral("\tcompleted\t") + music() + QStringLiteral("/b.mp3\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("100%"))) << r.err.toStdString();
    EXPECT_FALSE(idOf(QStringLiteral("b.mp3")).isEmpty());

    const QByteArray before = fixtures::ReadBytes(music() + QStringLiteral("/b.mp3"));
    r = qvr({QStringLiteral("convert"), QStringLiteral("--format"), QStringLiteral("mp3"), b});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, b + QStringLiteral("\tfailed\tthe target file already exists\n"));
    EXPECT_EQ(fixtures::ReadBytes(music() + QStringLiteral("/b.mp3")), before);

    r = qvr({QStringLiteral("convert"), QStringLiteral("--format"), QStringLiteral("ogg"), b});
    EXPECT_EQ(r.exitCode, 2);
    r = qvr({QStringLiteral("help"), QStringLiteral("convert")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("--delete-originals"))) << r.out.toStdString();
}

} // namespace
