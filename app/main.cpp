#include "core/AppInfo.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(mainMod::AppName() + QLatin1Char(' ') + mainMod::AppVersion());
    window.resize(600, 400);
    window.show();
    return app.exec();
}
