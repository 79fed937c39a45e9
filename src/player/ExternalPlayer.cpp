#include "player/ExternalPlayer.h"

#include "core/FileNameCodec.h"
#include "core/PathHelpers.h"
#include "core/Registry.h"
#include "core/Shell.h"

#include <QCoreApplication>

#include <sys/stat.h>

namespace ExternalPlayer {

namespace {

QString g_path;

bool isFile(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat st {};
    return ::stat(FileNameCodec::encode(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString programOfKey(const QString& key) {
    const QString command = Registry::GetValue(Registry::ClassesRoot, key, QString());
    return mainMod::ShortPath(ProgramOfCommand(command));
}

} // namespace

QString ProgramOfCommand(const QString& command) {
    const int exe = command.lastIndexOf(QLatin1String(".exe"), -1, Qt::CaseInsensitive);
    QString program;
    if (exe >= 0) {
        program = command.left(exe + 5);
    } else {
        const QString text = command.trimmed();
        if (text.startsWith(QLatin1Char('"'))) {
            const int end = text.indexOf(QLatin1Char('"'), 1);
            program = end < 0 ? text : text.left(end + 1);
        } else {
            program = text.section(QLatin1Char(' '), 0, 0);
        }
    }
    program.remove(QLatin1Char('"'));
    // The extra character is a blank after an unquoted path, which Windows drops.
    return program.trimmed();
}

bool FindWinamp() {
    g_path.clear();
    QString program = programOfKey(EnqueueKey);
    if (!isFile(program)) program = programOfKey(PlayKey);
    if (isFile(program)) g_path = program;
    return !g_path.isEmpty();
}

QString WinampPath() {
    return g_path;
}

void SetWinampPath(const QString& path) {
    g_path = path;
}

QList<QStringList> CommandLines(const QString& paths, bool enqueue) {
    QList<QStringList> lines;
    for (const QString& line : paths.split(QStringLiteral("\r\n"))) {
        const QString path = line.trimmed();
        if (path.isEmpty()) continue;
        lines << (enqueue ? QStringList{QStringLiteral("/ADD"), path} : QStringList{path});
    }
    return lines;
}

void PlayInWinamp(const QString& paths, bool enqueue) {
    if (g_path.isEmpty()) return;
    const QList<QStringList> lines = CommandLines(paths, enqueue);
    QCoreApplication::processEvents();
    for (const QStringList& arguments : lines)
        Shell::current().Execute(g_path, arguments);
}

} // namespace ExternalPlayer
