#pragma once
// The rules of the media-folder editor and the library clean-up, shared by the
// main window and qvr, so that both refuse and empty exactly alike.
#include "components/MediaFolderStore.h"
#include "core/Result.h"

#include <QString>

class MediaLibrary;

namespace LibraryMaintenance {

// Why a folder cannot join the media folders: language text 94 (listed already)
// or 95 (inside a listed folder); "" when it may. The title is text 96.
QString RefusalText(const MediaFolderStore::Placement& placement);

enum CleanUpChoice {
    EmptyLibrary = 0,  // files and virtual-folder contents go; folders stay
    ForgetFolders = 1, // the same, and the media folders go too
    NewDatabase = 2,   // the database file is made again from the template
};

// Runs a clean-up choice on the open library. For NewDatabase the library is
// closed, its file deleted and copied again from templatePath (or, without a
// template, made empty), and opened again on the same path; a file that cannot
// be deleted is opened again unchanged.
Status CleanUp(MediaLibrary& library, int choice, const QString& templatePath);

} // namespace LibraryMaintenance
