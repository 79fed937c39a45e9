#include "library/OpenedFiles.h"

#include "components/FileRecord.h"
#include "components/MediaLibrary.h"
#include "components/PlayableFile.h"

#include <QDir>
#include <QFileInfo>

OpenedFiles SortOpenedFiles(MediaLibrary& library, const QStringList& arguments) {
    OpenedFiles files;
    for (const QString& argument : arguments) {
        if (argument.isEmpty()) continue;
        const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(argument));
        if (files.known.contains(path) || files.outside.contains(path)) continue;
        if (!PlayableFile::Check(path).ok()) continue;
        FileRecord record;
        if (library.GetFileRecord(path, record) && record.id > 0) {
            files.known << path;
            continue;
        }
        files.outside << path;
        const QString folder = QFileInfo(path).path();
        if (!files.folders.contains(folder) &&
            library.MediaFolders()->Place(folder).kind == MediaFolderStore::Placement::New)
            files.folders << folder;
    }
    return files;
}
