#include "core/AppInfo.h"
#include "core/AppSettings.h"
#include "core/widgets/Artwork.h"
#include "library/widgets/mainForm.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Artwork::Init();
    AppSettings settings;
    LoadSettings(settings);
    mainForm window(settings);
    window.setWindowTitle(mainMod::AppName() + QLatin1Char(' ') + mainMod::AppVersionShort());
    window.restoreLayout();
    window.show();
    const int rc = app.exec();
    SaveSettings(settings);
    return rc;
}
