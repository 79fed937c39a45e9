#pragma once
// Service control for the engine client. Linux has no service manager that
// the engine registers with, so this is the path of a system without services:
// nothing is installed, nothing is started, and the client runs the program
// itself. The operations stay so that a platform with services can fill them.
#include <QString>

namespace modService {

inline const QString ServiceName = QStringLiteral("Quavero Indexing Engine");

// Whether the platform has the service manager the engine installs into.
bool IsNTFamily();
// Whether the service (by its key name) is installed and running; both false
// without services.
void QueryService(const QString& name, bool& installed, bool& running);
// Starts an installed, stopped service and waits up to 5 s for it; true when
// it runs afterwards. False at once without services.
bool StartService(const QString& name);
// The text up to its first NUL; unchanged when there is none or the NUL is
// the first character.
QString CutAtNul(const QString& text);

} // namespace modService
