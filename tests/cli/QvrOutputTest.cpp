// What the qvr commands print: rows as JSON, the whole library, and no library
// made by a command that only reads.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

using Args = QStringList;

class QvrOutputTest : public CliTest {
protected:
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    void scanTwoFiles() {
        ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a/one.mp3"),
                                       {"Ann", "Album", "One", "1", "1999", "Rock", {}}));
        ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/b/two.mp3"),
                                       fixtures::ArtistOnly("Bob")));
        const ProcessResult r = qvr({"scan", music()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    // Every line of the output as a JSON object; a failure for anything else.
    static QList<QJsonObject> objects(const ProcessResult& r) {
        QList<QJsonObject> list;
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        for (const QString& line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
            EXPECT_TRUE(doc.isObject())
                << line.toStdString() << ": " << error.errorString().toStdString();
            list << doc.object();
        }
        return list;
    }
};

TEST_F(QvrOutputTest, ReadingCommandsMakeNoLibrary) {
    const QList<Args> reading = {
        {"sql", "select count(*) from files"},
        {"record", "1"},
        {"tree"},
        {"list", "_lib"},
        {"search", "abc"},
        {"folders", "list"},
        {"folders", "remove", "/music"},
        {"tag", "1", "0", "Ann"},
        {"vf", "list"},
    };
    for (const Args& args : reading) {
        const ProcessResult r = qvr(args);
        const std::string name = args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_TRUE(r.err.contains(QStringLiteral("no library at ") + library()))
            << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("qvr scan FOLDER")) << name;
        EXPECT_FALSE(QFile::exists(library())) << name;
    }
    EXPECT_EQ(qvr({"settings", "get", "Misc\\LCID"}).exitCode, 0);
    EXPECT_EQ(qvr({"settings", "effective"}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(library()));
    // A statement that writes makes the library, as scan does.
    const ProcessResult r = qvr({"sql", "delete from files"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "0 rows changed\n");
    EXPECT_TRUE(QFile::exists(library()));
}

TEST_F(QvrOutputTest, ListOfTheLibraryNodeShowsEveryFile) {
    scanTwoFiles();
    const ProcessResult r = qvr({"list", "_lib"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString(); // statement, header, two files
    EXPECT_TRUE(lines.at(2).startsWith("one.mp3\t"));
    EXPECT_TRUE(lines.at(3).startsWith("two.mp3\t"));
}

TEST_F(QvrOutputTest, JsonIsOneObjectALine) {
    scanTwoFiles();
    QList<QJsonObject> rows = objects(qvr({"sql", "--json",
                                           "select id, filename, md_year from "
                                           "files order by filename"}));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].value("filename").toString(), "one.mp3");
    EXPECT_EQ(rows[0].value("md_year").toString(), "1999");
    EXPECT_TRUE(rows[0].value("id").isDouble());
    const int id = rows[0].value("id").toInt();

    rows = objects(qvr({"record", "--json", QString::number(id)}));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("artist").toString(), "Ann");
    EXPECT_EQ(rows[0].value("id").toInt(), id);

    for (const Args& args : QList<Args>{{"list", "_lib"}, {"search", "two"}, {"search", "Ann"}}) {
        rows = objects(qvr(args + Args{"--json"}));
        ASSERT_EQ(rows.size(), args.at(0) == QLatin1String("list") ? 2 : 1)
            << args.join(' ').toStdString();
        EXPECT_FALSE(rows[0].value("path").toString().isEmpty());
        EXPECT_TRUE(rows[0].contains("filename"));
    }

    rows = objects(qvr({"tree", "--json"}));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows[0].value("key").toString(), "_lib");
    EXPECT_EQ(rows[0].value("depth").toInt(), 0);

    rows = objects(qvr({"folders", "list", "--json"}));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("path").toString(), music() + QLatin1Char('/'));

    rows = objects(qvr({"scan", "--json"}));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("seen").toInt(), 2);

    rows = objects(qvr({"settings", "get", "--json", "Misc\\Nothing", "--default", "x"}));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("value").toString(), "x");
    EXPECT_GT(objects(qvr({"settings", "effective", "--json"})).size(), 10);
}

} // namespace
