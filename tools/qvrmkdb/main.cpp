// Build step: writes the library template data.blk from the schema.
#include "cli/CommandLine.h"
#include "core/LibrarySchema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::CommandLine line(QStringLiteral("qvrmkdb"),
                          QStringLiteral("Write the library template from the schema."),
                          app.arguments().mid(1));
    QString output;
    bool force = false;
    cli::addText(&line.app(), "OUTPUT", output, "The template file to write")
        ->required()
        ->check(line.path());
    line.app().add_flag("--force", force, "Replace OUTPUT when it exists");
    if (const std::optional<int> status = line.parse({out, err})) return *status;

    if (QFileInfo::exists(output) && !force) {
        err << "qvrmkdb: " << output << " exists; give --force to replace it\n";
        return cli::Failure;
    }
    const Status s = LibrarySchema::createTemplate(output);
    if (!s) {
        err << "qvrmkdb: " << s.error() << "\n";
        return cli::Failure;
    }
    return cli::Success;
}
