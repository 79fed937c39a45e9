#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// convert --format mp3|wma|wav [--to DIR] [--delete-originals] FILEID...
void addConvertFilesCommand(CLI::App& qvr, Command& command);

struct ConvertFilesOptions {
    QString format;
    QString to;
    bool deleteOriginals = false;
    std::vector<int> ids;
    LibraryOptions library;
};
int runConvertFiles(const ConvertFilesOptions& options, Io io);

} // namespace qvr
