#include "components/LibraryFactsReader.h"
#include "core/AppSettings.h"
#include "core/LibraryPaths.h"
#include "core/widgets/Artwork.h"
#include "core/widgets/WidgetDialogs.h"
#include "core/widgets/sysInfoForm.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/mainForm.h"

#include <QApplication>
#include <QTimer>

namespace {

// "--name=VALUE" of the command line, or "".
QString option(const QStringList& args, const QString& name) {
    const QString prefix = QStringLiteral("--") + name + QLatin1Char('=');
    for (const QString& a : args)
        if (a.startsWith(prefix)) return a.mid(prefix.size());
    return QString();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quavero"));
    Artwork::Init();
    WidgetDialogs dialogs;
    Dialogs::setCurrent(&dialogs);
    const QStringList args = app.arguments().mid(1);

    if (args.join(QLatin1Char(' ')).toLower().contains(QLatin1String("/debug"))) {
        const QString folder = mainMod::DataFolder();
        sysInfoForm info(ReadLibraryFacts(folder, folder + QStringLiteral("data.qvd")));
        info.exec();
        return 0;
    }

    AppSettings settings;
    mainForm window(settings);
    dialogs.setParent(&window);
    if (!window.StartUp({args, {}, {}, {}})) return 1;

    // "--select=KEY\\KEY...": a tree node to show first; "--screenshot=FILE":
    // a picture of the window, then quit (documentation).
    const QString select = option(args, QStringLiteral("select"));
    if (!select.isEmpty() && window.browser()) window.browser()->MakeTree(TreeSection::All, select);
    const QString shot = option(args, QStringLiteral("screenshot"));
    if (!shot.isEmpty())
        QTimer::singleShot(1500, &window, [&window, shot] {
            window.grab().save(shot);
            window.Shutdown();
            QApplication::quit();
        });
    return app.exec();
}
