#pragma once
// Opening the library for the qvr commands: the database given with
// "--db PATH", else the data folder's data.qvd.
#include "cli/Qvr.h"

class MediaLibrary;
class clsMUI;

namespace qvr {

// The library file the option names: PATH, else the data folder's data.qvd.
QString libraryPath(const QString& databaseOption);
// Commands that only read ask first, so that they never make a library.
bool libraryExists(const QString& databaseOption);
// Says that there is no library and how to make one; returns the exit status.
int noLibrary(const QString& databaseOption, Io io);
// Opens the library, made from the template when missing; prints the reason
// and returns false when it cannot.
bool openLibrary(MediaLibrary& library, const QString& databaseOption, Io io);
// Opens the library only when it exists (commands that read, or change what is
// there, never make one); says why and returns false otherwise.
bool openExistingLibrary(MediaLibrary& library, const QString& databaseOption, Io io);
// The language the application would show, without changing any setting.
void loadLanguage(clsMUI& lang);

} // namespace qvr
