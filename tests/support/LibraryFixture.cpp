#include "support/LibraryFixture.h"

#include "core/LibrarySchema.h"

#include <QDir>
#include <QFile>

#include <ftw.h>
#include <unistd.h>

LibraryTest::LibraryTest() = default;

LibraryTest::~LibraryTest() {
    // Removed by the raw names: QDir cannot remove files whose names are not UTF-8,
    // and tests make such files.
    lib.CloseLibrary();
    ::nftw(
        QFile::encodeName(m_dir.path()).constData(),
        [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path), 0; },
        16, FTW_DEPTH | FTW_PHYS);
}

void LibraryTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(LibrarySchema::createTemplate(dbPath()).ok());
    ASSERT_TRUE(lib.OpenLibrary(dbPath()));
    QDir().mkpath(music());
}

ScanCounts LibraryTest::scan(const QString& folder) {
    LibraryScanner scanner(lib.Connection());
    const Result<ScanCounts> r = scanner.run(folder, {});
    EXPECT_TRUE(r.ok()) << r.error().toStdString();
    lib.MediaFolders()->Reload();
    return r ? r.value() : ScanCounts();
}

void LibraryTest::addMusicFolder() {
    ASSERT_TRUE(lib.MediaFolders()->Add(music()));
}

QStringList LibraryTest::rows(const QString& jetSql, const QStringList& columns) {
    QStringList out;
    Result<db::Recordset> r = conn().query(jetSql);
    EXPECT_TRUE(r.ok()) << jetSql.toStdString() << ": " << r.error().toStdString();
    if (!r) return out;
    QList<int> idx;
    for (const QString& c : columns) {
        idx.append(r.value().fieldIndex(c.toUtf8()));
        EXPECT_GE(idx.back(), 0) << c.toStdString();
    }
    while (r.value().next()) {
        QStringList cells;
        for (int i : idx)
            cells.append(r.value().text(i));
        out.append(cells.join(QLatin1Char('|')));
    }
    EXPECT_TRUE(r.value().error().isEmpty()) << r.value().error().toStdString();
    return out;
}

qint32 LibraryTest::idOf(const QString& fileName) {
    Result<db::Recordset> r =
        conn().prepare(QStringLiteral("select id from FILES where filename=? collate binary"));
    if (!r) return 0;
    r.value().bind(1, fileName);
    return r.value().next() ? static_cast<qint32>(r.value().integer(0)) : 0;
}
