// qvr vf, run as a user would, on a library of real files.
#include "cli/CliFixture.h"
#include "support/AudioFixtures.h"

namespace {

class QvrVirtualFolderTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        for (const char* name : {"a.wav", "b.wav", "c.wav"})
            ASSERT_TRUE(fixtures::WriteWav(music() + QLatin1Char('/') + QLatin1String(name)));
        ASSERT_EQ(qvr({"scan", music()}).exitCode, 0);
        const ProcessResult r = qvr({"sql", "select id from files order by filename"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        ids = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
        ASSERT_EQ(ids.size(), 3);
    }
    QString music() const { return dir.path() + QStringLiteral("/music"); }
    // "POS<TAB>FILEID<TAB>FULLPATH" for each file given by letter.
    QString shown(const QString& letters) const {
        QString out;
        for (int i = 0; i < letters.size(); ++i) {
            const int n = letters.at(i).toLatin1() - 'a';
            out += QStringLiteral("%1\t%2\t%3/%4.wav\n")
                       .arg(i + 1)
                       .arg(ids.at(n), music())
                       .arg(letters.at(i));
        }
        return out;
    }
    void expectFails(const QStringList& args, const QString& message) {
        const ProcessResult r = qvr(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    QStringList ids;
};

} // namespace

TEST_F(QvrVirtualFolderTest, NewNamesCountOnAndListFollowsTheStore) {
    ProcessResult r = qvr({"vf", "new"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\tNew Folder\n") << "the language's name for a new folder";
    EXPECT_EQ(qvr({"vf", "new"}).out, "2\tNew Folder1\n");
    EXPECT_EQ(qvr({"vf", "new", "X"}).out, "3\tX\n");
    EXPECT_EQ(qvr({"vf", "new", "x"}).out, "4\tx1\n");
    EXPECT_EQ(qvr({"vf", "new", "X"}).out, "5\tX2\n");
    expectFails({"vf", "new", "  "}, "blanks");

    EXPECT_EQ(qvr({"vf", "rename", "1", "Zed"}).exitCode, 0);
    expectFails({"vf", "rename", "2", "X"}, "another folder has it");
    expectFails({"vf", "rename", "99", "Y"}, "no virtual folder 99");
    expectFails({"vf", "rename", "abc", "Y"}, "not a virtual folder id: abc");
    EXPECT_EQ(qvr({"vf", "list"}).out, "2\tNew Folder1\n3\tX\n4\tx1\n5\tX2\n1\tZed\n");
    EXPECT_EQ(qvr({"vf", "list", "--json"}).out.section('\n', 0, 0),
              R"({"id":2,"name":"New Folder1"})");

    EXPECT_EQ(qvr({"vf", "delete", "3"}).exitCode, 0);
    expectFails({"vf", "delete", "3"}, "no virtual folder 3");
    EXPECT_EQ(qvr({"vf", "list"}).out, "2\tNew Folder1\n4\tx1\n5\tX2\n1\tZed\n");
    EXPECT_EQ(qvr({"vf", "rename"}).exitCode, 2) << "a usage error";
}

TEST_F(QvrVirtualFolderTest, MembersAreAddedMovedRemovedAndShownInOrder) {
    ASSERT_EQ(qvr({"vf", "new", "Mix"}).exitCode, 0);
    ASSERT_EQ(qvr({"vf", "new", "Other"}).exitCode, 0);
    ProcessResult r = qvr({"vf", "add", "1", ids[0], ids[1], ids[2]});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(qvr({"vf", "add", "2", ids[1]}).exitCode, 0);
    EXPECT_EQ(qvr({"vf", "show", "1"}).out, shown("abc"));

    ASSERT_EQ(qvr({"vf", "move", "1", ids[2], "1"}).exitCode, 0);
    EXPECT_EQ(qvr({"vf", "show", "1"}).out, shown("cab"));
    ASSERT_EQ(qvr({"vf", "move", "1", ids[2], "2"}).exitCode, 0);
    EXPECT_EQ(qvr({"vf", "show", "1"}).out, shown("acb"));
    expectFails({"vf", "move", "1", ids[2], "4"}, "not between 1 and 3");
    expectFails({"vf", "move", "1", ids[2], "0"}, "not between 1 and 3");
    expectFails({"vf", "move", "2", ids[0], "1"}, "is not in virtual folder 2");

    // One unknown id and nothing is done, not even for the good ones.
    expectFails({"vf", "add", "2", ids[0], "9999"}, "no file 9999 in the library");
    expectFails({"vf", "remove", "1", ids[0], "9999"}, "no file 9999");
    expectFails({"vf", "add", "77", ids[0]}, "no virtual folder 77");
    EXPECT_EQ(qvr({"vf", "show", "1"}).out, shown("acb"));
    EXPECT_EQ(qvr({"vf", "show", "2"}).out, shown("b"));

    ASSERT_EQ(qvr({"vf", "remove", "1", ids[1]}).exitCode, 0);
    EXPECT_EQ(qvr({"vf", "show", "1"}).out, shown("ac"));
    EXPECT_EQ(qvr({"vf", "show", "2"}).out, shown("b")) << "other folders keep the file";
    EXPECT_EQ(qvr({"sql", "select count(*) as n from files"}).out, "n\n3\n");
    r = qvr({"vf", "show", "1", "--json"});
    EXPECT_EQ(r.out.section('\n', 0, 0),
              QStringLiteral(R"({"id":%1,"path":"%2/a.wav","position":1})").arg(ids[0], music()));

    ASSERT_EQ(qvr({"vf", "delete", "1"}).exitCode, 0);
    expectFails({"vf", "show", "1"}, "no virtual folder 1");
    EXPECT_EQ(qvr({"sql", "select count(*) as n from files"}).out, "n\n3\n")
        << "the files stay in the library";
}
