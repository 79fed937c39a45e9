#include "core/Shell.h"

#include "core/FileNameCodec.h"

#include <QProcess>

#include <sys/stat.h>

namespace {

class DesktopShell : public Shell {
public:
    bool OpenDocument(const QString& path) override {
        struct stat st {};
        if (::stat(FileNameCodec::encode(path).constData(), &st) != 0) return false;
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return false;
        // Never started directly, whatever its mode: xdg-open looks up the handler
        // of the file's type. A URL, so that names that are not UTF-8 arrive intact.
        return QProcess::startDetached(QStringLiteral("xdg-open"),
                                       {QString::fromLatin1(FileNameCodec::fileUrl(path))});
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
