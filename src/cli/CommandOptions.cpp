#include "cli/CommandOptions.h"

#include <QJsonDocument>

namespace qvr {

void addLibraryOptions(CLI::App* command, LibraryOptions& options, const cli::CommandLine& line,
                       bool json) {
    cli::addText(command, "--db", options.db,
                 "The library database (default: data.qvd in the "
                 "data folder)")
        ->type_name("PATH")
        ->check(line.path());
    if (json) addJsonOption(command, options.json);
}

CLI::Option* addFileArgument(CLI::App* command, QString& file, const cli::CommandLine& line) {
    return cli::addText(command, "ID|PATH", file, "The file: its id in the library, or its path")
        ->required()
        ->check(line.path());
}

void addJsonOption(CLI::App* command, bool& json) {
    command->add_flag("--json", json, "Print each row as a JSON object on its own line");
}

void printJson(const QJsonObject& row, Io io) {
    io.out << QJsonDocument(row).toJson(QJsonDocument::Compact) << '\n';
}

int printLinesAsJson(const std::function<int(Io)>& command, Io io) {
    QString lines;
    QTextStream buffer(&lines);
    const int status = command({buffer, io.err});
    buffer.flush();
    QJsonObject row;
    for (const QString& line : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString value = line.section(QLatin1Char('\t'), 1);
        bool whole = false;
        const qint64 number = value.toLongLong(&whole);
        row.insert(line.section(QLatin1Char('\t'), 0, 0),
                   whole ? QJsonValue(number) : QJsonValue(value));
    }
    if (!row.isEmpty()) printJson(row, io);
    return status;
}

} // namespace qvr
