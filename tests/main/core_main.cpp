#include "util/UpdateSettings.h"

#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Number formatting follows the system locale; the tests pin one.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCoreApplication app(argc, argv);
    // Tests talk to their own servers only: no built-in update endpoint.
    mainMod::SetDefaultUpdateUrl(QString());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
