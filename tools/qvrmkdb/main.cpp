// Build step: writes the library template data.blk from the schema.
#include "core/LibrarySchema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: qvrmkdb OUTPUT\n";
        return 2;
    }
    const Status s = LibrarySchema::createTemplate(app.arguments().at(1));
    if (!s) {
        err << "qvrmkdb: " << s.error() << "\n";
        return 1;
    }
    return 0;
}
