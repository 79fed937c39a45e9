// qvr tags and qvr rename over a real library.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QFile>

namespace {

class QvrTagsTest : public CliTest {
protected:
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    // Writes the files (name, title, track), scans them and returns their ids by name.
    QMap<QString, QString> library(const QList<QStringList>& files) {
        for (const QStringList& f : files) {
            fixtures::TagFields t;
            t.artist = "Band";
            t.title = f.value(1);
            t.track = f.value(2);
            EXPECT_TRUE(fixtures::WriteMp3(music() + QLatin1Char('/') + f[0], t));
        }
        EXPECT_EQ(qvr({"scan", music()}).exitCode, 0);
        const ProcessResult r = qvr({"sql", QStringLiteral("select id, filename, "
                                                           "md_track from files")});
        QMap<QString, QString> ids;
        for (const QString& line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1))
            ids.insert(line.section(QLatin1Char('\t'), 1, 1),
                       line.section(QLatin1Char('\t'), 0, 0));
        return ids;
    }
    QString column(const QString& id, const char* name) {
        const ProcessResult r =
            qvr({"sql",
                 QStringLiteral("select %1 from files where id=%2").arg(QLatin1String(name), id)});
        return r.out.section(QLatin1Char('\n'), 1, 1);
    }
};

} // namespace

TEST_F(QvrTagsTest, SetAndEnumWriteEveryFileAndReportTheOnesThatFail) {
    QMap<QString, QString> ids = library({{"a.mp3"}, {"b.mp3"}});
    ASSERT_TRUE(fixtures::WriteWav(music() + QStringLiteral("/c.wav")));
    ids = library({});
    ASSERT_EQ(ids.size(), 3);
    const QString a = ids["a.mp3"], b = ids["b.mp3"], c = ids["c.wav"];

    ProcessResult r = qvr({"tags", "set", "artist", "  New Band ", b, c, a});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], b + QStringLiteral("\tNew Band"));
    EXPECT_TRUE(lines[1].startsWith(c + QStringLiteral("\tFAILED\t"))) << lines[1].toStdString();
    EXPECT_EQ(column(a, "md_artist"), "New Band");

    r = qvr({"tags", "set", "genre", "rock", a});
    EXPECT_EQ(r.out, a + QStringLiteral("\t17\n"));
    EXPECT_EQ(column(a, "md_genredesc"), "Rock");
    r = qvr({"tags", "set", "genre", "0", a});
    EXPECT_EQ(column(a, "md_genredesc"), "Blues");
    EXPECT_EQ(qvr({"tags", "set", "genre", "No Such Genre", a}).exitCode, 2);
    EXPECT_EQ(qvr({"tags", "set", "title", "x", a}).exitCode, 2);
    EXPECT_EQ(qvr({"tags", "enum", "x1"}).exitCode, 2);

    r = qvr({"tags", "enum", b, a});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, b + QStringLiteral("\t1\n") + a + QStringLiteral("\t2\n"));
    EXPECT_EQ(column(a, "md_track"), "2");
}

TEST_F(QvrTagsTest, RenamePrintsOldAndNewOrWhyNotAndDryRunTouchesNothing) {
    const QMap<QString, QString> ids =
        library({{"1.mp3", "Same", "3"}, {"2.mp3", "Same", "4"}, {"3.mp3", "Why?", "5"}});
    const QString one = ids["1.mp3"], two = ids["2.mp3"], three = ids["3.mp3"];
    const QString m = music() + QLatin1Char('/');

    ProcessResult r = qvr({"rename", "%t", one});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("at least one of the available tags"));

    r = qvr({"rename", "%T", one, two, three, "--dry-run"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], m + QStringLiteral("1.mp3\t") + m + QStringLiteral("Same.mp3"));
    EXPECT_TRUE(lines[1].startsWith(m + QStringLiteral("2.mp3\tFAILED\t")));
    EXPECT_TRUE(lines[2].startsWith(m + QStringLiteral("3.mp3\tFAILED\t")));
    EXPECT_TRUE(QFile::exists(m + QStringLiteral("1.mp3")));
    EXPECT_FALSE(QFile::exists(m + QStringLiteral("Same.mp3")));

    r = qvr({"rename", "%T", one, two, three});
    EXPECT_EQ(r.exitCode, 0);
    lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], m + QStringLiteral("1.mp3\t") + m + QStringLiteral("Same.mp3"));
    EXPECT_TRUE(lines[1].startsWith(m + QStringLiteral("2.mp3\tFAILED\t")));
    EXPECT_TRUE(QFile::exists(m + QStringLiteral("Same.mp3")));
    EXPECT_TRUE(QFile::exists(m + QStringLiteral("2.mp3")));
    EXPECT_TRUE(QFile::exists(m + QStringLiteral("3.mp3")));
    EXPECT_EQ(column(one, "filename"), "Same.mp3");
    EXPECT_EQ(column(two, "filename"), "2.mp3");

    r = qvr({"rename", "%N - %T", two, "99999"});
    EXPECT_EQ(r.out, m + QStringLiteral("2.mp3\t") + m + QStringLiteral("04 - Same.mp3\n") +
                         QStringLiteral("99999\tFAILED\tno library file has the id 99999\n"));
}
