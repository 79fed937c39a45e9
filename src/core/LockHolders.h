#pragma once
// Who keeps a library busy. Programs of ours that hold a library for a long
// exclusive task (a scan, a compaction) record themselves in a lock file beside
// it (FileLock::writeOwner); any other program is found by the open file.
#include <QString>
#include <QStringList>

namespace LockHolders {

// The lock files that programs of ours hold beside the database.
QString LibraryLockPath(const QString& databasePath); // whole-library tasks (compaction)
QString ScanLockPath(const QString& databasePath);    // library scans

// "1234 qvr scan"-style descriptions of the processes that hold the library:
// the owners named in the lock files, else every process that has the file open.
QStringList Describe(const QString& databasePath);

// "the library PATH is in use by pid 1234 (qvr scan)", or "... is locked by
// another program" when nobody can be named.
QString BusyMessage(const QString& databasePath);

} // namespace LockHolders
