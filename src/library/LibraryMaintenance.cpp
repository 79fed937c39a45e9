#include "library/LibraryMaintenance.h"

#include "components/MediaLibrary.h"
#include "core/FileNameCodec.h"
#include "lang/AppLang.h"

#include <QFile>

#include <unistd.h>

namespace LibraryMaintenance {

QString RefusalText(const MediaFolderStore::Placement& placement) {
    switch (placement.kind) {
    case MediaFolderStore::Placement::Duplicate:
        return mainMod::LangText(94);
    case MediaFolderStore::Placement::Nested:
        return mainMod::LangText(95, {placement.container});
    case MediaFolderStore::Placement::New:
        break;
    }
    return QString();
}

namespace {

Status emptyTables(MediaLibrary& library, bool forgetFolders) {
    db::Database& conn = library.Connection();
    db::Transaction tx(conn);
    if (!tx.ok()) return tx.status();
    // Virtual folders keep their names (VFOLDERS); only their contents go.
    for (const char* sql : {"delete from files", "delete from vffiles"})
        if (Status s = conn.execute(QString::fromLatin1(sql)); !s) return s;
    if (forgetFolders)
        if (Status s = conn.execute(QStringLiteral("delete from mmfolders")); !s) return s;
    if (Status s = tx.commit(); !s) return s;
    if (forgetFolders) library.MediaFolders()->Reload();
    return {};
}

bool removeFile(const QString& path) {
    return ::unlink(FileNameCodec::encode(path).constData()) == 0;
}

Status newDatabase(MediaLibrary& library, const QString& templatePath) {
    const QString path = library.DatabasePath();
    if (path.isEmpty()) return Status::failure(QStringLiteral("no library database is open"));
    library.CloseLibrary();
    // A file held by another program stays; it is simply opened again.
    if (removeFile(path)) {
        removeFile(path + QStringLiteral("-wal"));
        removeFile(path + QStringLiteral("-shm"));
        if (!QFile::copy(templatePath, path)) {
            // Without a template an empty file will do: opening it makes the tables.
            QFile empty(path);
            if (!empty.open(QIODevice::WriteOnly))
                return Status::failure(
                    QStringLiteral("the library %1 could not be made again").arg(path));
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    }
    if (!library.OpenLibrary(path)) return Status::failure(library.OpenError());
    return {};
}

} // namespace

Status CleanUp(MediaLibrary& library, int choice, const QString& templatePath) {
    if (choice == NewDatabase) return newDatabase(library, templatePath);
    if (!library.IsOpen()) return Status::failure(QStringLiteral("no library database is open"));
    if (choice == EmptyLibrary || choice == ForgetFolders)
        return emptyTables(library, choice == ForgetFolders);
    return Status::failure(QStringLiteral("unknown clean-up choice %1").arg(choice));
}

} // namespace LibraryMaintenance
