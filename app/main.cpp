#include "components/LibraryFactsReader.h"
#include "core/AppSettings.h"
#include "core/LibraryPaths.h"
#include "core/widgets/Artwork.h"
#include "core/widgets/WidgetDialogs.h"
#include "core/widgets/sysInfoForm.h"
#include "library/widgets/mainForm.h"

#include <QApplication>
#include <QTimer>

namespace {

// "--screenshot=FILE": saves a picture of the started window and quits.
QString screenshotTarget(const QStringList& args) {
    for (const QString& a : args)
        if (a.startsWith(QLatin1String("--screenshot="))) return a.mid(13);
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

    const QString shot = screenshotTarget(args);
    if (!shot.isEmpty())
        QTimer::singleShot(1500, &window, [&window, shot] {
            window.grab().save(shot);
            window.Shutdown();
            QApplication::quit();
        });
    return app.exec();
}
