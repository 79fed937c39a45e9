#pragma once
// The check made before a library file is handed to a player. A library entry
// is only a name: the file behind it may have been replaced by anything,
// including a program with the execute bit. Only a regular file whose contents
// are audio of the type its name promises may be opened.
#include <QString>

namespace PlayableFile {

enum class Refusal { None, Missing, NotRegular, UnsupportedType, NotAudio };

struct Verdict {
    Refusal refusal = Refusal::None;
    bool ok() const { return refusal == Refusal::None; }
};

// path: the library's text form of the path (see FileNameCodec).
Verdict Check(const QString& path);

} // namespace PlayableFile
