#include "core/Shell.h"

#include <QFileInfo>
#include <QProcess>

namespace {

class DesktopShell : public Shell {
public:
    bool OpenDocument(const QString& path) override {
        const QFileInfo info(path);
        if (!info.exists()) return false;
        if (info.isFile() && info.isExecutable()) return QProcess::startDetached(path, {});
        return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
    }
    bool Execute(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
};

Shell* g_current = nullptr;

} // namespace

Shell& Shell::current() {
    static DesktopShell desktop;
    return g_current ? *g_current : desktop;
}

void Shell::setCurrent(Shell* shell) {
    g_current = shell;
}
