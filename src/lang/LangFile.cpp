#include "lang/LangFile.h"

#include "core/Ansi.h"
#include "core/Settings.h"
#include "lang/ZipString.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <limits>

namespace LangFile {

namespace {

const QString kHeaderStart = QStringLiteral("QVLF V");
const QString kCrLf = QStringLiteral("\r\n");
const QString kBreak = QStringLiteral("||");

double oleDate(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    return static_cast<double>(QDate(1899, 12, 30).daysTo(local.date())) +
           local.time().msecsSinceStartOfDay() / 86400000.0;
}

template <typename T> void appendLittleEndian(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Reads the 26-byte header of an open container.
std::optional<ContainerInfo> readHeader(QFile& file) {
    const QByteArray header = file.read(HeaderSize);
    if (header.size() != HeaderSize) return std::nullopt;
    ContainerInfo info;
    info.magic = header.left(4);
    info.sourceLength = qFromLittleEndian<quint32>(header.constData() + 10);
    info.sourceTime = qFromLittleEndian<double>(header.constData() + 14);
    info.packedLength = qFromLittleEndian<quint32>(header.constData() + 22);
    return info;
}

} // namespace

std::optional<Header> ParseHeader(const QString& firstLine) {
    if (!firstLine.startsWith(kHeaderStart)) return std::nullopt;
    const QStringList fields = firstLine.split(QLatin1Char('$'));
    if (fields.size() < 2) return std::nullopt;
    const double lcid =
        mainMod::NumberOr(fields.at(1).trimmed(), std::numeric_limits<double>::quiet_NaN());
    if (!std::isfinite(lcid) || std::fabs(lcid) > std::numeric_limits<int>::max())
        return std::nullopt;
    Header header;
    header.version = fields.at(0).mid(kHeaderStart.size()).trimmed();
    header.LCID = static_cast<int>(std::lround(lcid));
    header.name = fields.value(2).trimmed();
    return header;
}

bool HasHeader(const QString& text) {
    return text.startsWith(kHeaderStart);
}

QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

bool ReadTexts(const QString& text, LangTexts& texts) {
    if (!HasHeader(text)) return false;
    const QStringList lines = SplitLines(text);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.trimmed().startsWith(QLatin1Char(';'))) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        QString value = line.mid(eq + 1);
        value.replace(kBreak, kCrLf);
        texts.set(line.left(eq), value);
    }
    return true;
}

QString FormatTexts(const LangTexts& texts, int lcid, const QString& name) {
    QString out =
        kHeaderStart + QStringLiteral("1.0$") + QString::number(lcid) + QLatin1Char('$') + name;
    const QStringList& keys = texts.keys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QString value = texts.valueAt(i);
        // Any line break, not only CR LF, would otherwise split the entry.
        value.replace(kCrLf, kBreak);
        value.replace(QLatin1Char('\n'), kBreak);
        value.replace(QLatin1Char('\r'), kBreak);
        out += kCrLf + keys.at(i) + QLatin1Char('=') + value;
    }
    return out;
}

std::optional<ContainerInfo> ReadContainerInfo(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return readHeader(file);
}

QString DecodeLangFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const qint64 size = file.size();
    if (size <= HeaderSize || size > MaxContainerSize) return QString();
    const auto info = readHeader(file);
    // A length field that points past the end is a truncated or forged file.
    if (!info || info->packedLength == 0 || info->packedLength > size - HeaderSize)
        return QString();
    QByteArray data = file.read(info->packedLength);
    if (data.size() != static_cast<qsizetype>(info->packedLength)) return QString();
    if (!clsZipString::UncompressStringB(data, ZlibParam) || data.size() > MaxTextLength)
        return QString();
    return Ansi::toUnicode(data);
}

Status WriteLangContainer(const QString& target, const QByteArray& ansiText, qint64 sourceLength,
                          const QDateTime& sourceTime) {
    if (ansiText.size() < MinSourceLength)
        return Status::failure(
            QStringLiteral("the text has fewer than %1 characters").arg(MinSourceLength));
    QByteArray packed = ansiText;
    if (!clsZipString::CompressStringB(packed, ZlibParam))
        return Status::failure(QStringLiteral("the text could not be compressed"));
    QByteArray out("QVLF\x01", 5);
    out.append('\0');
    appendLittleEndian<quint32>(out, Signature);
    appendLittleEndian<quint32>(out, static_cast<quint32>(sourceLength));
    appendLittleEndian<double>(out, oleDate(sourceTime));
    appendLittleEndian<quint32>(out, static_cast<quint32>(packed.size()));
    out.append(packed);
    bool ok = false;
    clsZipString::SaveFileB(target, out, 0, ZlibParam, ok);
    if (!ok) return Status::failure(QStringLiteral("cannot write %1").arg(target));
    return Status();
}

bool EncodeLangFile(const QString& source, const QString& target) {
    const QFileInfo info(source);
    const QByteArray text = clsZipString::LoadFileB(source, 0, ZlibParam);
    if (text.isEmpty()) return false;
    return WriteLangContainer(target, text, info.size(), info.lastModified()).ok();
}

bool SaveLangFile(const QString& path, const LangTexts& texts, int lcid, const QString& name) {
    if (texts.isEmpty()) return false;
    bool ok = false;
    clsZipString::SaveFile(path, FormatTexts(texts, lcid, name), 0, ZlibParam, ok);
    return ok;
}

} // namespace LangFile
