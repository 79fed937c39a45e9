// qvr copy: the copy dialog's loop on the command line.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

#include <QFile>

namespace {

class QvrCopyTest : public CliTest {
protected:
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    QString dest() const { return dir.path() + QStringLiteral("/dest"); }
    QStringList ids() const {
        const ProcessResult r = qvr({"sql", "select id from files order by filename"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeFirst(); // the column name
        return lines;
    }
};

} // namespace

TEST_F(QvrCopyTest, CopiesReplacesAndReportsFailuresOnStderr) {
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/b.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/c.mp3"), {}));
    ASSERT_EQ(qvr({"scan", music()}).exitCode, 0);
    const QStringList id = ids();
    ASSERT_EQ(id.size(), 3);
    ASSERT_TRUE(QDir().mkpath(dest()));
    ASSERT_TRUE(fixtures::WriteBytes(dest() + QStringLiteral("/a.mp3"), "old"));
    // A folder where b.mp3 would go: that copy fails, the next one follows.
    ASSERT_TRUE(QDir().mkpath(dest() + QStringLiteral("/b.mp3")));

    ProcessResult r = qvr({"copy", dest(), id[0], id[1], id[2]});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "2 of 3 file(s) copied\n");
    EXPECT_TRUE(r.err.contains(QStringLiteral("[1/3] ") + music() + QStringLiteral("/a.mp3 -> ") +
                               dest() + QStringLiteral("/a.mp3")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("[3/3]"));
    EXPECT_TRUE(r.err.contains(dest() + QStringLiteral("/b.mp3 (error ")));
    EXPECT_EQ(fixtures::ReadBytes(dest() + QStringLiteral("/a.mp3")),
              fixtures::ReadBytes(music() + QStringLiteral("/a.mp3")))
        << "replaced without a question";
    EXPECT_TRUE(QFile::exists(dest() + QStringLiteral("/c.mp3")));

    r = qvr({"copy", dest(), "99999"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no such file: 99999"));
    r = qvr({"copy", dir.path() + QStringLiteral("/nowhere"), id[0]});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("not a folder"));
}
