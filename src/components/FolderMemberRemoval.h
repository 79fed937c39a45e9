#pragma once
// The list's Delete while a virtual folder is shown: the files leave this
// folder only, or the library, or the library and the disk.
#include <QList>
#include <QString>

class MediaLibrary;

namespace FolderMemberRemoval {

enum Choice { FolderOnly = 0, FromLibrary = 1, FromLibraryAndDisk = 2 };

struct Item {
    qint32 fileId = 0;
    QString fullPath; // the list item's tag
};

// Applies the choice to every item in order. A failing item is skipped and the
// others go on; returns the number that failed. With FromLibraryAndDisk the row
// goes even when the file on disk cannot be deleted (that counts as a failure),
// and a file whose row could not be removed stays on disk.
int Remove(MediaLibrary& library, qint32 folderId, const QList<Item>& items, int choice);

} // namespace FolderMemberRemoval
