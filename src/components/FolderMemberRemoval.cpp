#include "components/FolderMemberRemoval.h"

#include "components/MediaLibrary.h"
#include "core/FileNameCodec.h"

#include <unistd.h>

namespace FolderMemberRemoval {

int Remove(MediaLibrary& library, qint32 folderId, const QList<Item>& items, int choice) {
    if (choice < FolderOnly || choice > FromLibraryAndDisk) return static_cast<int>(items.size());
    int failed = 0;
    for (const Item& item : items) {
        if (choice == FolderOnly) {
            if (!library.VirtualFolders()->RemoveFile(item.fileId, folderId)) ++failed;
            continue;
        }
        bool ok = library.RemoveLibraryFile(QString::number(item.fileId));
        // Only a file the library no longer lists is deleted (a read-only library
        // keeps both). The raw bytes of the listed name: a name that is not UTF-8
        // is still the very file (a link goes, not what it points to).
        if (ok && choice == FromLibraryAndDisk && !item.fullPath.isEmpty())
            ok = ::unlink(FileNameCodec::encode(item.fullPath).constData()) == 0;
        if (!ok) ++failed;
    }
    return failed;
}

} // namespace FolderMemberRemoval
