#pragma once
// Where the library database lives, and how a new one is made from the template.
#include <QString>

namespace mainMod {

// The data folder, with a trailing separator: $QUAVERO_DATA_DIR when set; else
// the application folder when it is writable and not an installed one (build
// tree or portable layout); else
// $XDG_DATA_HOME/quavero/ (created when missing).
QString DataFolder();
// The template shipped with the program: "data.blk" in the data folder when one
// is there, else in the resource folder (beside the executables, or
// PREFIX/share/quavero/ when installed).
QString TemplatePath();

// DataFolder() + "data.qvd" when that file exists. Otherwise sets the
// DatabaseCreated flag, copies the template there (copy errors are ignored) and
// returns the path when the file exists now, "" when it still does not.
QString GetDatabasePath();
// The same with the folder (trailing separator optional) and template given.
QString GetDatabasePath(const QString& dataFolder, const QString& templatePath);

// Set when GetDatabasePath had to create the database; read (and cleared) by
// the first activation of the main window.
bool DatabaseCreated();
void SetDatabaseCreated(bool created);

} // namespace mainMod
