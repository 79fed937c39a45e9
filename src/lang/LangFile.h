#pragma once
// Language files. The plain text form is a header line "QVLF V1.0$1033$English"
// followed by key=value lines (CR LF separated, Windows-1252, "||" for a line
// break inside a value, ";" starting a comment). A ".lng" file is a 26-byte
// header followed by that text compressed with gzip framing.
#include "core/Result.h"
#include "lang/LangTexts.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace LangFile {

constexpr int ZlibParam = 31;
constexpr int HeaderSize = 26;
constexpr quint32 Signature = 760920;
// Sources shorter than this are not encoded.
constexpr qsizetype MinSourceLength = 1024;
// No real language comes near this; larger texts are hostile and refused.
constexpr qsizetype MaxTextLength = 16 * 1024 * 1024;
constexpr qint64 MaxContainerSize = 16 * 1024 * 1024;

struct Header {
    QString version; // what follows "QVLF V" up to the first "$"
    int LCID = 0;
    QString name;
};

// The header of a first line; none unless the line begins with "QVLF V" and its
// second "$" field is a number.
std::optional<Header> ParseHeader(const QString& firstLine);
bool HasHeader(const QString& text);
// Lines split at CR LF; a bare LF also ends a line, so hand-edited files read.
QStringList SplitLines(const QString& text);

// Adds the entries of a plain text to texts. False, and nothing added, when the
// text does not begin with "QVLF V".
bool ReadTexts(const QString& text, LangTexts& texts);
// The plain text form of the texts under the header QVLF V1.0$lcid$name.
QString FormatTexts(const LangTexts& texts, int lcid, const QString& name);

// The plain text inside a container, or an empty text for anything unreadable.
QString DecodeLangFile(const QString& path);
// Writes a container around the Windows-1252 text. sourceLength and sourceTime
// describe the file the text came from.
Status WriteLangContainer(const QString& target, const QByteArray& ansiText, qint64 sourceLength,
                          const QDateTime& sourceTime);
// Encodes a plain text file (Windows-1252 bytes) into a container; false when
// nothing was written (missing or short source, write error).
bool EncodeLangFile(const QString& source, const QString& target);
// Writes the plain text form; false when there was nothing to write or it failed.
bool SaveLangFile(const QString& path, const LangTexts& texts, int lcid, const QString& name);

// Fields of a container's header, for diagnostics.
struct ContainerInfo {
    QByteArray magic;
    quint32 sourceLength = 0;
    double sourceTime = 0; // days since 1899-12-30
    quint32 packedLength = 0;
};
std::optional<ContainerInfo> ReadContainerInfo(const QString& path);

} // namespace LangFile
