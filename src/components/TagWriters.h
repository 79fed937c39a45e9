#pragma once
// Writing one tag field into an MP3 or a WMA file so that the file is at every
// moment either the old file or the new one:
// - when the new tag takes exactly the room of the old one (ID3v2 padding; a
//   WMA header of the same size), it is written in place and read back;
// - otherwise a complete new file is written beside the old one, flushed,
//   checked with TagLib (the new value, the same audio properties and size)
//   and renamed over it (FileReplacer).
// Codes and values are those of TagService, already checked.
#include "components/TagWriteSupport.h"
#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <functional>

class AsfHeader;
namespace TagLib {
class IOStream;
}

namespace TagWriters {

// path: raw file-name bytes with links resolved.
Status WriteMp3(const QByteArray& path, int code, const QString& text);
Status WriteWma(const QByteArray& path, int code, const QString& text);
// The WMA write with any header edit: `verify` reads the written file (in place,
// or the new copy before it replaces the old one) against the audio before.
Status RewriteWmaHeader(
    const QByteArray& path, const std::function<Status(AsfHeader&)>& edit,
    const std::function<Status(TagLib::IOStream*, const tagwrite::AudioShape&)>& verify);

// The leading number of a track text ("7/12" gives 7); 0 when there is none.
unsigned LeadingNumber(const QString& text);

} // namespace TagWriters
