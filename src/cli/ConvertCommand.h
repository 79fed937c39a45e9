#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// decode IN.mp3|IN.wma OUT.wav and encode IN.wav OUT.mp3|OUT.wma [--preset N].
void addConvertCommands(CLI::App& qvr, Command& command);
// preset: nullopt configures the encoder from the stored encoder settings.
int runEncode(const QString& in, const QString& out, std::optional<int> preset, Io io);
int runDecode(const QString& in, const QString& out, Io io);

} // namespace qvr
