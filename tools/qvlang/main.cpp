#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    err << "usage: qvlang encode SOURCE.txt TARGET.lng | decode FILE.lng | check FILE.lng\n";
    return 2;
}
