#include "cli/QvLang.h"

#include "cli/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return qvlang::run(cli::arguments(argc, argv), {out, err});
}
