#pragma once
#include "cli/CommandOptions.h"

namespace qvr {

// cddb query N, cddb files FILEID...: album data from the CDDB server of the
// settings; urlencode, urldecode, htmlencode, htmldecode TEXT.
void addCddbCommands(CLI::App& qvr, Command& command);

} // namespace qvr
