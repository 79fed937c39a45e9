#pragma once
// The temporary WAV files a rip to MP3 or WMA goes through.
#include "core/Result.h"

#include <QString>

#include <functional>

namespace cd {

// "~RIP" + the number in four digits + ".WAV".
QString RipTempName(int number);

// Creates a new, empty file folder/~RIPnnnn.WAV, the number drawn as
// random() * 1000 (random in [0, 1)). A name that exists is drawn again, so a
// file someone else holds is never touched; after 20 draws it gives up.
Result<QString> CreateRipTempFile(const QString& folder, const std::function<double()>& random);
// The same in the system's temporary folder with a random generator.
Result<QString> CreateRipTempFile();

} // namespace cd
