#include "cli/CommandLine.h"
#include "components/LibraryFactsReader.h"
#include "core/AppSettings.h"
#include "core/InstanceChannel.h"
#include "core/LibraryPaths.h"
#include "core/PathHelpers.h"
#include "core/widgets/Artwork.h"
#include "core/widgets/WidgetDialogs.h"
#include "core/widgets/sysInfoForm.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/mainForm.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char** argv) {
    // The command line is read before the application object exists: help,
    // version and mistakes need no display and open no window.
    cli::CommandLine line(QStringLiteral("quavero"), QStringLiteral("The Quavero music library."),
                          cli::arguments(argc, argv));
    CLI::App& cmd = line.app();
    // The switches below are the program's; the rest of the line is left to the
    // old words ("/debug", "devmode") and to Qt's own options.
    cmd.allow_extras();
    cmd.footer("Also: FILE... opens audio files (asking first whether their folder joins the "
               "library); /debug shows the system information and quits; devmode runs in "
               "developer mode; Qt's options (-platform NAME, -style NAME, ...) go to Qt.\n"
               "Exit status: 0 done, 1 failed, 2 usage error.");
    QString select, shot;
    mainForm::StartupOptions startup;
    cli::addText(&cmd, "--select", select, "A tree node to show first: KEY\\KEY...")
        ->type_name("KEY");
    cli::addText(&cmd, "--screenshot", shot, "Save a picture of the window to FILE, then quit")
        ->type_name("FILE")
        ->check(line.path());
    cli::addText(&cmd, "--lang-folder", startup.langFolder,
                 "The language files (default: the installed ones, or Lang beside the program)")
        ->type_name("DIR")
        ->check(line.path());
    cli::addText(&cmd, "--data-folder", startup.dataFolder, "The folder of the library data.qvd")
        ->type_name("DIR")
        ->check(line.path());
    cli::addText(&cmd, "--template", startup.templatePath,
                 "The template a missing library is made from")
        ->type_name("FILE")
        ->check(line.path());
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (const std::optional<int> status = line.parse({out, err})) return *status;
    }

    // Qt 6.4's FFmpeg media backend crashes where there is no sound device;
    // GStreamer reports that as an error instead. A user's own choice stays.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quavero"));
    Artwork::Init();
    WidgetDialogs dialogs;
    Dialogs::setCurrent(&dialogs);
    const QStringList args = app.arguments().mid(1);
    startup.arguments = args;

    if (args.join(QLatin1Char(' ')).toLower().contains(QLatin1String("/debug"))) {
        const QString folder = startup.dataFolder.isEmpty()
                                   ? mainMod::DataFolder()
                                   : QDir(startup.dataFolder).absolutePath() + QLatin1Char('/');
        sysInfoForm info(ReadLibraryFacts(folder, folder + QStringLiteral("data.qvd")));
        info.exec();
        return 0;
    }

    // Files handed over by the desktop ("Open with"), as absolute paths: a
    // window that already runs on this library may take them.
    QStringList opened;
    for (const std::string& extra : cmd.remaining())
        opened << QDir::current().absoluteFilePath(QString::fromStdString(extra));
    const QString dataFolder =
        startup.dataFolder.isEmpty() ? mainMod::DataFolder() : startup.dataFolder;
    InstanceChannel instance(dataFolder);
    if (shot.isEmpty() && instance.HandOver(opened)) return 0;

    AppSettings settings;
    mainForm window(settings);
    window.setEngineFolder(mainMod::AppFolder());
    dialogs.setParent(&window);
    if (!window.StartUp(startup)) return 1;

    if (shot.isEmpty() && instance.Listen())
        QObject::connect(&instance, &InstanceChannel::filesReceived, &window,
                         [&window](const QStringList& files) {
                             window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
                             window.raise();
                             window.activateWindow();
                             if (!files.isEmpty()) window.OpenFiles(files);
                         });
    // The files of this start are taken once the window is up.
    if (!opened.isEmpty())
        QTimer::singleShot(0, &window, [&window, opened] { window.OpenFiles(opened); });

    // The screenshot is for the documentation.
    if (!select.isEmpty() && window.browser()) window.browser()->MakeTree(TreeSection::All, select);
    if (!shot.isEmpty())
        QTimer::singleShot(1500, &window, [&window, shot] {
            window.grab().save(shot);
            window.Shutdown();
            QApplication::quit();
        });
    return app.exec();
}
