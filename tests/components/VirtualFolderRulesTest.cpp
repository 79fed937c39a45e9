// Virtual folders: the name of a new folder, Move Up/Down positions and the
// list's Delete choices inside a folder.
#include "components/FolderMemberRemoval.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

namespace {

class VirtualFolderRulesTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(music()));
        Result<db::Recordset> ins =
            conn().prepare("insert into FILES(fullpath, filename) values(?, ?)");
        for (int i = 1; i <= 5; ++i) {
            const QString path = music() + QStringLiteral("/f%1.mp3").arg(i);
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("not really audio");
            f.close();
            ASSERT_TRUE(
                ins.value().bind(1, path).bind(2, QStringLiteral("f%1.mp3").arg(i)).execute());
        }
    }
    VirtualFolderStore& vf() { return *lib.VirtualFolders(); }
    qint32 fid(int n) { return idOf(QStringLiteral("f%1.mp3").arg(n)); }
    QString path(int n) { return music() + QStringLiteral("/f%1.mp3").arg(n); }
    // File numbers in FINDEX order, and the FINDEX values themselves.
    QList<int> order(qint32 folder) {
        QList<int> out;
        for (const VirtualFolderStore::Member& m : vf().Members(folder))
            out << m.fullPath.section(QLatin1Char('/'), -1)
                       .mid(1)
                       .section(QLatin1Char('.'), 0, 0)
                       .toInt();
        return out;
    }
    QStringList findex(qint32 folder) {
        return rows(
            QStringLiteral("select FINDEX from VFFILES where VF_ID=%1 order by FINDEX").arg(folder),
            {"FINDEX"});
    }
    qint32 folderWith(const QString& name, std::initializer_list<int> files) {
        const qint32 id = vf().FindFolder(name, true);
        for (int n : files)
            EXPECT_TRUE(vf().AddFile(fid(n), id));
        return id;
    }
    QList<FolderMemberRemoval::Item> items(std::initializer_list<int> files) {
        QList<FolderMemberRemoval::Item> out;
        for (int n : files)
            out.append({fid(n), path(n)});
        return out;
    }
};

} // namespace

TEST_F(VirtualFolderRulesTest, NewFolderNamesCountOnFromTheBase) {
    EXPECT_EQ(vf().FreeName("X"), "X") << "no X yet: X exactly";
    for (const char* name : {"X", "X1", "X2"})
        vf().FindFolder(QString::fromLatin1(name), true);
    EXPECT_EQ(vf().FreeName("X"), "X3");
    EXPECT_EQ(vf().FreeName("x"), "x3") << "names ignore case";
    QString name;
    const qint32 id = vf().CreateNumbered("X", &name);
    ASSERT_GT(id, 0);
    EXPECT_EQ(name, "X3");
    ASSERT_TRUE(vf().SelectFolder(id));
    EXPECT_EQ(vf().CurrentName(), "X3");
    // A gap is filled: the loop stops at the first free number.
    ASSERT_TRUE(vf().SelectFolder(vf().FindFolder("X1", false)));
    vf().DeleteCurrent();
    EXPECT_EQ(vf().FreeName("X"), "X1");
    // "New Folder" and "New Folder1" do not make "New Folder11".
    vf().CreateNumbered("New Folder");
    vf().CreateNumbered("New Folder", &name);
    EXPECT_EQ(name, "New Folder1");
    vf().CreateNumbered("New Folder", &name);
    EXPECT_EQ(name, "New Folder2");
    EXPECT_EQ(vf().CreateNumbered("  ", &name), 0) << "no blank names";
    EXPECT_TRUE(name.isEmpty());
}

TEST_F(VirtualFolderRulesTest, MoveUpAndDownEdgesAndTheResultingOrder) {
    using S = VirtualFolderStore;
    EXPECT_EQ(S::MoveUpTarget(1, 5, 1), 0) << "the first row does not go up";
    EXPECT_EQ(S::MoveDownTarget(5, 5, 1), 0) << "the last row does not go down";
    EXPECT_EQ(S::MoveUpTarget(3, 5, 2), 0) << "two rows selected";
    EXPECT_EQ(S::MoveDownTarget(3, 5, 2), 0);
    EXPECT_EQ(S::MoveUpTarget(2, 5, 1), 1);
    EXPECT_EQ(S::MoveDownTarget(4, 5, 1), 5);
    EXPECT_EQ(S::MoveUpTarget(1, 1, 1), 0) << "a single row stays";
    EXPECT_EQ(S::MoveDownTarget(1, 1, 1), 0);
    EXPECT_EQ(S::MoveDownTarget(2, 5, 0), 3) << "the focused row without a selection";

    const qint32 a = folderWith("A", {1, 2, 3, 4, 5});
    ASSERT_TRUE(vf().SelectFolder(a));
    ASSERT_TRUE(vf().MoveFile(fid(2), S::MoveDownTarget(2, 5, 1)));
    EXPECT_EQ(order(a), QList<int>({1, 3, 2, 4, 5}));
    EXPECT_EQ(findex(a), QStringList({"1", "2", "3", "4", "5"}));
    ASSERT_TRUE(vf().MoveFile(fid(2), S::MoveUpTarget(3, 5, 1)));
    ASSERT_TRUE(vf().MoveFile(fid(2), S::MoveUpTarget(2, 5, 1)));
    EXPECT_EQ(order(a), QList<int>({2, 1, 3, 4, 5}));
    EXPECT_EQ(findex(a), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(vf().Contains(a, fid(4)));
    EXPECT_FALSE(vf().Contains(a, 9999));
}

TEST_F(VirtualFolderRulesTest, DeleteInsideAFolderHonoursTheChoice) {
    const qint32 a = folderWith("A", {1, 2, 3, 4, 5});
    const qint32 b = folderWith("B", {2, 3});
    using namespace FolderMemberRemoval;

    // Choice 0: the files leave this folder only.
    EXPECT_EQ(Remove(lib, a, items({2, 3}), FolderOnly), 0);
    EXPECT_EQ(order(a), QList<int>({1, 4, 5}));
    EXPECT_EQ(order(b), QList<int>({2, 3})) << "other folders keep them";
    EXPECT_GT(fid(2), 0) << "the library keeps them";
    EXPECT_GT(fid(3), 0);
    EXPECT_TRUE(QFile::exists(path(2)));

    // Choice 1: out of the library and every folder; the disk keeps the file.
    EXPECT_EQ(Remove(lib, b, items({2}), FromLibrary), 0);
    EXPECT_EQ(idOf("f2.mp3"), 0);
    EXPECT_EQ(order(b), QList<int>({3}));
    EXPECT_TRUE(QFile::exists(path(2)));

    // Choice 2: the file goes from the disk too. A file that cannot be deleted
    // still leaves the library, and the loop goes on with the next one.
    ASSERT_TRUE(QFile::remove(path(4)));
    QList<Item> gone = items({4, 5});
    EXPECT_EQ(Remove(lib, a, gone, FromLibraryAndDisk), 1);
    EXPECT_EQ(idOf("f4.mp3"), 0);
    EXPECT_EQ(idOf("f5.mp3"), 0);
    EXPECT_FALSE(QFile::exists(path(5)));
    EXPECT_EQ(order(a), QList<int>({1}));
    EXPECT_TRUE(QFile::exists(path(1)));
    EXPECT_TRUE(QFile::exists(path(3)));

    // A row that cannot be removed keeps its file on disk.
    EXPECT_EQ(Remove(lib, a, {{9999, path(1)}}, FromLibraryAndDisk), 1);
    EXPECT_TRUE(QFile::exists(path(1)));
}
