// Virtual folders (names, order rules) and media folders.
#include "support/LibraryFixture.h"

#include <QDir>

namespace {

class FolderStoresTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        Result<db::Recordset> ins =
            conn().prepare("insert into FILES(fullpath, filename) values(?, ?)");
        for (int i = 1; i <= 5; ++i)
            ASSERT_TRUE(ins.value()
                            .bind(1, QStringLiteral("/m/f%1.mp3").arg(i))
                            .bind(2, QStringLiteral("f%1.mp3").arg(i))
                            .execute());
    }
    QStringList order(qint32 folder) {
        return rows(
            QStringLiteral(
                "select * from VFFILES left join FILES on VFFILES.FL_ID=FILES.ID where VF_ID=") +
                QString::number(folder) + QStringLiteral(" order by FINDEX asc"),
            {"filename"});
    }
    qint32 fid(int n) { return idOf(QStringLiteral("f%1.mp3").arg(n)); }
};

QStringList files(std::initializer_list<int> ns) {
    QStringList l;
    for (int n : ns)
        l << QStringLiteral("f%1.mp3").arg(n);
    return l;
}

} // namespace

TEST_F(FolderStoresTest, FoldersAreFoundCreatedRenamedAndDeleted) {
    VirtualFolderStore* vf = lib.VirtualFolders();
    EXPECT_EQ(vf->FindFolder("X", false), 0);
    const qint32 x = vf->FindFolder("X", true);
    ASSERT_GT(x, 0);
    EXPECT_EQ(vf->FindFolder("X", true), x);
    EXPECT_EQ(vf->FindFolder("x", false), x); // names ignore case
    const qint32 x1 = vf->FindFolder("X1", true);
    vf->FindFolder("X2", true);
    EXPECT_FALSE(vf->FindFolder("   ", true));

    EXPECT_EQ(vf->FolderCount(), 3);
    ASSERT_TRUE(vf->SelectFolder(x1));
    EXPECT_FALSE(vf->RenameCurrent("x")); // taken by another folder
    EXPECT_FALSE(vf->RenameCurrent("  "));
    EXPECT_TRUE(vf->RenameCurrent("  Alpha "));
    EXPECT_EQ(vf->CurrentName(), "Alpha");
    EXPECT_TRUE(vf->RenameCurrent("ALPHA")); // its own name in another case
    // Enumeration by name, 1-based.
    EXPECT_EQ(vf->FolderNameAt(1), "ALPHA");
    EXPECT_EQ(vf->FolderIdAt(1), x1);
    EXPECT_EQ(vf->FolderNameAt(2), "X");
    EXPECT_EQ(vf->FolderNameAt(3), "X2");
    EXPECT_EQ(vf->FolderIdAt(4), 0);
    EXPECT_EQ(vf->FolderNameAt(0), QString());

    ASSERT_TRUE(vf->AddFile(fid(1), x1));
    vf->DeleteCurrent();
    EXPECT_FALSE(vf->SelectFolder(x1));
    EXPECT_EQ(vf->FolderCount(), 2);
    EXPECT_TRUE(order(x1).isEmpty());
    EXPECT_EQ(rows("select count(*) as n from files", {"n"}), QStringList{"5"});
    EXPECT_FALSE(vf->RenameCurrent("after delete"));
}

TEST_F(FolderStoresTest, MembersKeepTheUsersOrder) {
    VirtualFolderStore* vf = lib.VirtualFolders();
    const qint32 a = vf->FindFolder("A", true);
    const qint32 b = vf->FindFolder("B", true);
    for (int n = 1; n <= 5; ++n)
        ASSERT_TRUE(vf->AddFile(fid(n), a));
    ASSERT_TRUE(vf->AddFile(fid(3), b));
    EXPECT_TRUE(vf->AddFile(fid(3), a)); // already there: nothing changes
    EXPECT_FALSE(vf->AddFile(9999, a));
    EXPECT_FALSE(vf->AddFile(fid(1), 9999));
    EXPECT_EQ(order(a), files({1, 2, 3, 4, 5}));
    // Move Down of position 2 of 5.
    ASSERT_TRUE(vf->SelectFolder(a));
    ASSERT_TRUE(vf->MoveFile(fid(2), 3));
    EXPECT_EQ(order(a), files({1, 3, 2, 4, 5}));
    ASSERT_TRUE(vf->MoveFile(fid(5), 1));
    EXPECT_EQ(order(a), files({5, 1, 3, 2, 4}));
    ASSERT_TRUE(vf->MoveFile(fid(5), 5));
    EXPECT_EQ(order(a), files({1, 3, 2, 4, 5}));
    EXPECT_FALSE(vf->MoveFile(fid(1), 0));
    EXPECT_FALSE(vf->MoveFile(fid(1), 6));
    EXPECT_FALSE(vf->MoveFile(9999, 1));
    EXPECT_EQ(order(a), files({1, 3, 2, 4, 5}));
    // Removing keeps the others in order; new files go last.
    EXPECT_TRUE(vf->RemoveFile(fid(3), a));
    EXPECT_FALSE(vf->RemoveFile(fid(3), a));
    EXPECT_EQ(order(a), files({1, 2, 4, 5}));
    ASSERT_TRUE(vf->AddFile(fid(3), a));
    EXPECT_EQ(order(a), files({1, 2, 4, 5, 3}));
    ASSERT_TRUE(vf->MoveFile(fid(3), 2));
    EXPECT_EQ(order(a), files({1, 3, 2, 4, 5}));
    // A file that leaves the library leaves every folder; other folders keep theirs.
    EXPECT_TRUE(lib.RemoveLibraryFile(QString::number(fid(3))));
    EXPECT_EQ(order(a), files({1, 2, 4, 5}));
    EXPECT_TRUE(order(b).isEmpty());
    EXPECT_FALSE(lib.RemoveLibraryFile("not a number"));
    // Without a current folder, nothing moves.
    EXPECT_FALSE(vf->SelectFolder(9999));
    EXPECT_FALSE(vf->MoveFile(fid(1), 2));
}

TEST_F(FolderStoresTest, MediaFoldersMustExistAndAreListedOnce) {
    MediaFolderStore* mf = lib.MediaFolders();
    EXPECT_FALSE(mf->Add(dir() + QStringLiteral("/does-not-exist")));
    ASSERT_TRUE(fixtures::WriteBytes(dir() + QStringLiteral("/plain.txt"), "x"));
    EXPECT_FALSE(mf->Add(dir() + QStringLiteral("/plain.txt")));
    EXPECT_FALSE(mf->Add(QString()));
    ASSERT_TRUE(mf->Add(music()));
    EXPECT_FALSE(mf->Add(music() + QStringLiteral("//")));
    QDir().mkpath(dir() + QStringLiteral("/Music2"));
    ASSERT_TRUE(mf->Add(dir() + QStringLiteral("/Music2/../Music2")));
    ASSERT_EQ(mf->FolderCount(), 2);
    EXPECT_EQ(mf->FolderPath(0), music() + QLatin1Char('/'));
    EXPECT_EQ(mf->FolderPath(1), dir() + QStringLiteral("/Music2/"));
    EXPECT_GT(mf->FolderId(1), mf->FolderId(0));
    EXPECT_FALSE(mf->FolderLastScan(0).isValid());
    EXPECT_EQ(mf->FolderPath(2), QString());

    // Removing with and without the files.
    ASSERT_TRUE(fixtures::WriteMp3(music() + QStringLiteral("/a.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteMp3(dir() + QStringLiteral("/Music2/b.mp3"), {}));
    ASSERT_TRUE(fixtures::WriteMp3(dir() + QStringLiteral("/music-other/c.mp3"), {}));
    ASSERT_GT(lib.AddLibraryFile(dir() + QStringLiteral("/music-other/c.mp3")), 0);
    scan();
    EXPECT_TRUE(mf->FolderLastScan(0).isValid());
    EXPECT_TRUE(mf->Remove(dir() + QStringLiteral("/Music2"), false));
    EXPECT_GT(idOf("b.mp3"), 0);
    EXPECT_TRUE(mf->Remove(music() + QLatin1Char('/'), true));
    EXPECT_EQ(idOf("a.mp3"), 0);
    EXPECT_GT(idOf("c.mp3"), 0); // "music-other" is not inside "music"
    EXPECT_FALSE(mf->Remove(music(), true));
    EXPECT_EQ(mf->FolderCount(), 0);
}
