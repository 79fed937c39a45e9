#pragma once
// The settings store: registry-style roots, keys and values kept in one hive
// file per root. Root selectors: 0 current user, 1 local machine, 2 users,
// 3 class root; anything else is no key. A remote computer name always behaves
// as a connection that failed.
#include "core/HiveFile.h"

#include <QString>
#include <memory>
#include <vector>

namespace Registry {

enum Root : qint32 { CurrentUser = 0, LocalMachine = 1, Users = 2, ClassesRoot = 3 };

// The root's key handle (the Windows values), or 0 for an unknown selector.
quint32 RootKey(qint32 root);
// Opens or creates the key; true when it exists afterwards. With a remote name,
// true without doing anything.
bool CreateKey(qint32 root, const QString& subkey, const QString& remote = QString());
// The value's text as read by the rules of RegValue::readAsText; empty when the
// key or value is missing or cannot be read.
QString GetValue(qint32 root, const QString& subkey, const QString& valueName,
                 const QString& remote = QString());
// Writes a string value into an existing key.
bool SetValue(qint32 root, const QString& subkey, const QString& valueName, const QString& text,
              const QString& remote = QString());
bool DeleteValue(qint32 root, const QString& subkey, const QString& valueName,
                 const QString& remote = QString());

// Writes a value of any type into an existing key (as other programs may).
bool SetRawValue(qint32 root, const QString& subkey, const RegValue& value);

// The same operations with the reason of a failure: a name the file cannot hold,
// a value over the line limit, a hive that was not read, a file that could not
// be written.
Status EnsureKey(qint32 root, const QString& subkey);
Status PutValue(qint32 root, const QString& subkey, const RegValue& value);
Status RemoveValue(qint32 root, const QString& subkey, const QString& valueName);

// What the last read of the root's hive file found wrong with it.
HiveReport Report(qint32 root);

// While a batch is open, this thread's changes to every hive are kept in memory
// (and read back from there); each changed hive is written once when the batch
// ends, under the lock and on a fresh read like any other change.
class Batch {
public:
    Batch();
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // Ends the batch now; the first failure, if any. Later changes are written at once.
    Status commit();

private:
    std::vector<std::shared_ptr<HiveFile>> m_hives;
};

// "HKEY_CURRENT_USER" and so on; empty for an unknown selector.
QString RootName(qint32 root);
// The hive file of a root: $QUAVERO_CONFIG_DIR/NAME.reg when that variable is
// set; else $XDG_CONFIG_HOME/quavero for the user root and /etc/quavero for the
// machine-wide roots.
QString HivePath(qint32 root);

} // namespace Registry
