// A file whose name is not UTF-8 works with everything that takes a library path:
// adding it alone, reading it from outside the library, a media folder of such a
// name, the play check, its folder's picture, the quick search.
#include "components/CoverArt.h"
#include "components/PlayableFile.h"
#include "core/FileNameCodec.h"
#include "library/QuickSearch.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

class OddNames : public LibraryTest {
protected:
    // A real MP3 at folder/rawName (raw bytes), returned as the library's text.
    QString place(const QByteArray& rawFolder, const QByteArray& rawName, const QString& title) {
        fixtures::TagFields tags;
        tags.title = title;
        const QString temp = dir() + "/temp.mp3";
        if (!fixtures::WriteMp3(temp, tags)) return {};
        ::mkdir(rawFolder.constData(), 0755);
        const QByteArray raw = rawFolder + '/' + rawName;
        if (std::rename(QFile::encodeName(temp).constData(), raw.constData()) != 0) return {};
        return FileNameCodec::decode(raw);
    }
};

} // namespace

TEST_F(OddNames, EveryOperationOnALibraryPathWorks) {
    const QByteArray folder = QFile::encodeName(music()) + "/caf\xe9";
    const QString path = place(folder, "bad\xff\xfename.mp3", "Odd One");
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(QUtf8StringView(path.toUtf8()).isValidUtf8());

    // Read from outside the library, then added alone.
    FileRecord outside;
    ASSERT_TRUE(lib.GetFileRecord(path, outside));
    EXPECT_EQ(outside.title, "Odd One");
    const qint32 id = lib.AddLibraryFile(path);
    ASSERT_GT(id, 0);
    FileRecord stored;
    ASSERT_TRUE(lib.GetFileRecord(id, stored));
    EXPECT_EQ(FileNameCodec::encode(stored.fullPath), folder + "/bad\xff\xfename.mp3");
    EXPECT_EQ(stored.title, "Odd One");

    // The folder itself as a media folder, and a rescan that finds the same row.
    ASSERT_TRUE(lib.MediaFolders()->Add(FileNameCodec::decode(folder)));
    const ScanCounts counts = scan();
    EXPECT_EQ(counts.added, 0);
    EXPECT_EQ(counts.removed, 0);
    EXPECT_EQ(idOf(stored.fileName), id);

    EXPECT_TRUE(PlayableFile::Check(path).ok());

    const QByteArray jpg = folder + "/Folder.JPG";
    FILE* f = std::fopen(jpg.constData(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not really a picture", f);
    std::fclose(f);
    EXPECT_EQ(FileNameCodec::encode(lib.CoverArtPath(id)), jpg);

    Result<db::Recordset> r = conn().query(QuickSearch::Sql("name.mp3"));
    ASSERT_TRUE(r.ok()) << r.error().toStdString();
    ASSERT_TRUE(r.value().next());
    EXPECT_EQ(r.value().integer("id"), id);
}
