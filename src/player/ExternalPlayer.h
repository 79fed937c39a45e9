#pragma once
// The external player, reached through the play and enqueue commands that a
// player registers under the class-root key Applications\Winamp.exe. Any program
// can be registered there (see the README); it is found once at start-up and
// kept until the program ends.
#include <QString>
#include <QStringList>

namespace ExternalPlayer {

inline const QString EnqueueKey =
    QStringLiteral("Applications\\Winamp.exe\\shell\\Enqueue\\command");
inline const QString PlayKey = QStringLiteral("Applications\\Winamp.exe\\shell\\Play\\command");

// The program named by a registered command line: cut after the last ".exe"
// (any case) and its closing quote, quotes removed. A command without ".exe" (a
// Linux program) names its first word, or the first quoted text.
QString ProgramOfCommand(const QString& command);

// Searches the enqueue command, then the play command; keeps the first program
// that exists as a file. True when one was found.
bool FindWinamp();
// The kept program; empty when none was found.
QString WinampPath();
// For tests: replaces the kept program.
void SetWinampPath(const QString& path);

// One argument list per non-empty line (blanks removed at both ends), in order:
// "/ADD" and the path when enqueuing, else the path alone.
QList<QStringList> CommandLines(const QString& paths, bool enqueue);
// Starts the kept program once per file through the Shell seam; nothing
// without one.
void PlayInWinamp(const QString& paths, bool enqueue);

} // namespace ExternalPlayer
