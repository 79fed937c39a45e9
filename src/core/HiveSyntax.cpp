// The text form of a hive: the reader, which keeps every good line of a damaged
// or foreign file, and the writer, which never produces a line the reader skips.
#include "core/Ansi.h"
#include "core/HexDigit.h"
#include "core/RegistryHive.h"

#include <QStringDecoder>
#include <QtEndian>

namespace {

const QLatin1String kHeader("Windows Registry Editor Version 5.00");
const QLatin1String kOldHeader("REGEDIT4");

QString limitText(qsizetype n) {
    return n % (1024 * 1024) == 0 ? QStringLiteral("%1 MiB").arg(n / (1024 * 1024))
                                  : QString::number(n);
}

// ---------------------------------------------------------------- decoding

struct DecodedText {
    QString text;
    QList<qsizetype> undecodable; // lines that are not UTF-8, left empty in text
};

bool startsAsRegedit4(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\n');
    return bytes.left(end < 0 ? bytes.size() : end).trimmed() == "REGEDIT4";
}

DecodedText decode(const QByteArray& bytes) {
    DecodedText out;
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        out.text = decoder.decode(bytes);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        out.text = utf8.decode(bytes);
        if (utf8.hasError()) {
            if (startsAsRegedit4(bytes)) {
                // The old format was written in the ANSI code page.
                out.text = Ansi::toUnicode(bytes);
            } else {
                // Keep the lines that are UTF-8; the others are reported.
                out.text.clear();
                qsizetype pos = 0;
                for (qsizetype line = 1;; ++line) {
                    qsizetype end = bytes.indexOf('\n', pos);
                    if (end < 0) end = bytes.size();
                    QStringDecoder lineDecoder(QStringDecoder::Utf8);
                    const QString text =
                        lineDecoder.decode(QByteArrayView(bytes).sliced(pos, end - pos));
                    if (lineDecoder.hasError())
                        out.undecodable << line;
                    else
                        out.text += text;
                    if (end == bytes.size()) break;
                    out.text += QLatin1Char('\n');
                    pos = end + 1;
                }
            }
        }
    }
    if (out.text.startsWith(QChar(0xFEFF))) out.text.remove(0, 1);
    return out;
}

// Physical lines of the text, numbered from 1, without their line ends.
class LineCursor {
public:
    explicit LineCursor(QStringView text) : m_text(text) {}
    bool next(QStringView& line) {
        if (m_pos > m_text.size()) return false;
        qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_pos);
        if (end < 0) end = m_text.size();
        line = m_text.mid(m_pos, end - m_pos);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        m_pos = end + 1;
        ++m_number;
        return true;
    }
    qsizetype number() const { return m_number; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_number = 0;
};

// ---------------------------------------------------------------- value syntax

// Reads a quoted string starting at pos (on the opening quote); leaves pos after
// the closing quote. Returns false when the quote is not closed.
bool readQuoted(QStringView line, qsizetype& pos, QString& out) {
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"')) return false;
    ++pos;
    out.clear();
    while (pos < line.size()) {
        // Copy the run up to the next quote or backslash in one piece.
        qsizetype stop = pos;
        while (stop < line.size() && line.at(stop) != QLatin1Char('"') &&
               line.at(stop) != QLatin1Char('\\'))
            ++stop;
        out.append(line.mid(pos, stop - pos));
        pos = stop;
        if (pos == line.size()) return false;
        if (line.at(pos++) == QLatin1Char('"')) return true;
        if (pos < line.size()) out.append(line.at(pos++)); // an escaped character
    }
    return false;
}

// "01,ff, 2a": one or two hex digits per byte, separated by commas.
bool parseHexBytes(QStringView text, QByteArray& out) {
    out.clear();
    text = text.trimmed();
    if (text.isEmpty()) return true;
    out.reserve(text.size() / 3 + 1);
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && text.at(i).isSpace())
            ++i;
    };
    for (;;) {
        skipBlanks();
        int value = 0, digits = 0;
        for (int d; i < text.size() && digits < 3 && (d = HexDigit(text.at(i))) >= 0; ++i, ++digits)
            value = value * 16 + d;
        if (digits == 0 || digits > 2) return false;
        out.append(static_cast<char>(value));
        skipBlanks();
        if (i == text.size()) return true;
        if (text.at(i) != QLatin1Char(',')) return false;
        ++i;
    }
}

bool parseValueData(QStringView written, bool ansiStrings, RegValue& value) {
    if (written.startsWith(QLatin1Char('"'))) {
        qsizetype pos = 0;
        QString text;
        if (!readQuoted(written, pos, text) || !written.mid(pos).trimmed().isEmpty()) return false;
        value.type = RegType::String;
        value.data = RegValue::text(QString(), text).data;
        return true;
    }
    if (written.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QStringView digits = written.mid(6).trimmed();
        bool ok = false;
        const uint v = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8) return false;
        value.type = RegType::DWord;
        value.data.resize(4);
        qToLittleEndian<quint32>(v, value.data.data());
        return true;
    }
    if (written.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        value.type = RegType::Binary;
        return parseHexBytes(written.mid(4), value.data);
    }
    if (written.startsWith(QLatin1String("hex("), Qt::CaseInsensitive)) {
        const qsizetype close = written.indexOf(QLatin1String("):"));
        if (close < 0) return false;
        bool ok = false;
        value.type = written.mid(4, close - 4).toUInt(&ok, 16);
        if (!ok || !parseHexBytes(written.mid(close + 2), value.data)) return false;
        // The old format keeps the text types in the ANSI code page.
        if (ansiStrings && (value.type == RegType::String || value.type == RegType::ExpandString ||
                            value.type == RegType::MultiString))
            value.data = RegValue::text(QString(), Ansi::toUnicode(value.data)).data;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- writing

QString escape(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return out;
}

void appendHex(QString& out, const QByteArray& data) {
    static const char digits[] = "0123456789abcdef";
    out.reserve(out.size() + data.size() * 3);
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<uchar>(data.at(i));
        if (i > 0) out += QLatin1Char(',');
        out += QLatin1Char(digits[b >> 4]);
        out += QLatin1Char(digits[b & 15]);
    }
}

// Text that a quoted string carries unchanged: no line breaks, no NUL (which
// would cut it when read), no broken UTF-16 (which UTF-8 cannot hold). Other
// text is written in the hex(1) form, which keeps every byte.
bool quotable(const QString& text) {
    return !text.contains(QChar(0)) && !text.contains(QLatin1Char('\n')) &&
           !text.contains(QLatin1Char('\r')) && text.isValidUtf16();
}

QString formatValue(const RegValue& v) {
    QString line = v.name.isEmpty() ? QStringLiteral("@")
                                    : QLatin1Char('"') + escape(v.name) + QLatin1Char('"');
    if (v.type == RegType::String && v.data.size() % 2 == 0) {
        const QString text = v.utf16Text();
        if (quotable(text)) return line + QStringLiteral("=\"") + escape(text) + QLatin1Char('"');
    }
    if (v.type == RegType::DWord && v.data.size() == 4)
        return line +
               QStringLiteral("=dword:%1")
                   .arg(qFromLittleEndian<quint32>(v.data.constData()), 8, 16, QLatin1Char('0'));
    line += v.type == RegType::Binary ? QStringLiteral("=hex:")
                                      : QStringLiteral("=hex(%1):").arg(v.type, 0, 16);
    appendHex(line, v.data);
    return line;
}

Status checkLine(const QString& line) {
    if (line.size() <= HiveLimits::MaxLineChars) return Status();
    return Status::failure(QStringLiteral("its line would hold %1 characters, more than %2")
                               .arg(line.size())
                               .arg(limitText(HiveLimits::MaxLineChars)));
}

// ---------------------------------------------------------------- reading

class Reader {
public:
    Reader(const QString& rootName, ParsedHive& out) : m_root(rootName), m_out(out) {}

    void run(const DecodedText& decoded) {
        qsizetype nextUndecodable = 0;
        LineCursor lines(decoded.text);
        QStringView raw;
        while (lines.next(raw)) {
            const qsizetype lineNo = lines.number();
            while (nextUndecodable < decoded.undecodable.size() &&
                   decoded.undecodable.at(nextUndecodable) <= lineNo) {
                if (decoded.undecodable.at(nextUndecodable) == lineNo)
                    problem(lineNo, QStringLiteral("the line is not UTF-8 text"));
                ++nextUndecodable;
            }
            const QStringView line = raw.trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
            if (line == kHeader || line == kOldHeader) {
                if (!m_headerSeen) m_ansiStrings = line == kOldHeader;
                m_headerSeen = true;
                continue;
            }
            if (!m_headerSeen) {
                problem(lineNo, QStringLiteral("the file does not start with a registry header"));
                m_headerSeen = true;
            }
            if (line.startsWith(QLatin1Char('[')))
                readSection(line, lineNo);
            else
                readValue(line, lineNo, lines);
        }
    }

private:
    void problem(qsizetype line, const QString& reason) {
        ++m_out.problemCount;
        if (m_out.problems.size() < HiveLimits::MaxReportedProblems)
            m_out.problems.append({line, reason});
    }

    // A section that could not be read takes its values with it, silently: the
    // section line has been reported.
    void skipSection() {
        m_current = nullptr;
        m_skipping = true;
    }

    void readSection(QStringView line, qsizetype lineNo) {
        if (line.size() > HiveLimits::MaxLineChars || !line.endsWith(QLatin1Char(']'))) {
            problem(lineNo, line.size() > HiveLimits::MaxLineChars
                                ? QStringLiteral("the key line is too long")
                                : QStringLiteral("the key line does not end with ']'"));
            return skipSection();
        }
        QStringView path = line.mid(1, line.size() - 2);
        if (path.startsWith(QLatin1Char('-'))) return skipSection(); // a deletion: nothing to keep
        if (path.compare(m_root, Qt::CaseInsensitive) == 0) {
            path = QStringView();
        } else if (path.startsWith(m_root, Qt::CaseInsensitive) && path.size() > m_root.size() &&
                   path.at(m_root.size()) == QLatin1Char('\\')) {
            path = path.mid(m_root.size() + 1);
        } else {
            problem(lineNo, QStringLiteral("the key is not under %1").arg(m_root));
            return skipSection();
        }
        const QString keyPath = path.toString();
        if (const Status named = checkName(keyPath); !named) {
            problem(lineNo, QStringLiteral("bad key name: %1").arg(named.error()));
            return skipSection();
        }
        m_current = &m_out.hive.ensure(keyPath);
        m_skipping = false;
    }

    // Joins the continuation lines of a hex list (a trailing backslash, as the
    // registry editor breaks long lists); first is the list's first part. Sets
    // tooLong, and returns nothing, when the whole line would pass the limit.
    static QString joinContinued(QStringView first, qsizetype limit, LineCursor& lines,
                                 bool& tooLong) {
        QString joined;
        tooLong = first.size() > limit;
        if (!tooLong) joined = first.chopped(1).toString();
        QStringView next;
        while (lines.next(next)) {
            QStringView part = next.trimmed();
            const bool more = part.endsWith(QLatin1Char('\\'));
            if (more) part.chop(1);
            if (!tooLong && joined.size() + part.size() > limit) {
                tooLong = true;
                joined.clear();
            }
            if (!tooLong) joined += part;
            if (!more) break;
        }
        return joined;
    }

    void readValue(QStringView line, qsizetype lineNo, LineCursor& lines) {
        RegValue value;
        qsizetype pos = 0;
        bool named = true;
        if (line.startsWith(QLatin1Char('@')))
            pos = 1;
        else
            named = readQuoted(line, pos, value.name);
        while (pos < line.size() && line.at(pos).isSpace())
            ++pos;
        const bool hasEquals = named && pos < line.size() && line.at(pos) == QLatin1Char('=');
        QStringView written = hasEquals ? line.mid(pos + 1).trimmed() : QStringView();

        QString joined;
        bool tooLong = line.size() > HiveLimits::MaxLineChars;
        if (hasEquals && written.startsWith(QLatin1String("hex"), Qt::CaseInsensitive) &&
            line.endsWith(QLatin1Char('\\'))) {
            const qsizetype prefix = line.size() - written.size();
            joined = joinContinued(written, HiveLimits::MaxLineChars - prefix, lines, tooLong);
            written = joined;
        }

        if (m_skipping) return;
        if (!named) return problem(lineNo, QStringLiteral("bad value name"));
        if (!hasEquals) return problem(lineNo, QStringLiteral("no '=' after the value name"));
        if (!m_current) return problem(lineNo, QStringLiteral("a value outside a key"));
        if (tooLong)
            return problem(lineNo, QStringLiteral("the line is longer than %1")
                                       .arg(limitText(HiveLimits::MaxLineChars)));
        if (const Status ok = checkName(value.name); !ok)
            return problem(lineNo, QStringLiteral("bad value name: %1").arg(ok.error()));
        if (written == QLatin1String("-")) {
            m_current->remove(value.name);
            return;
        }
        if (!parseValueData(written, m_ansiStrings, value))
            return problem(lineNo, QStringLiteral("bad value data"));
        // Values that are written back in another form must still fit a line; a
        // quoted text that stays quoted cannot grow.
        const bool staysQuoted =
            written.startsWith(QLatin1Char('"')) && quotable(value.utf16Text());
        if (const Status fits = staysQuoted ? Status() : checkLine(formatValue(value)); !fits)
            return problem(
                lineNo, QStringLiteral("the value cannot be written back: %1").arg(fits.error()));
        m_current->set(std::move(value));
    }

    QString m_root;
    ParsedHive& m_out;
    RegKey* m_current = nullptr;
    bool m_skipping = false;
    bool m_headerSeen = false;
    bool m_ansiStrings = false;
};

} // namespace

Status checkValue(const RegValue& value) {
    if (const Status named = checkName(value.name); !named) return named;
    if (const Status fits = checkLine(formatValue(value)); !fits)
        return Status::failure(QStringLiteral("the value is too long: %1").arg(fits.error()));
    return Status();
}

Result<ParsedHive> parseHive(const QByteArray& bytes, const QString& rootName) {
    if (bytes.size() > HiveLimits::MaxFileBytes)
        return Result<ParsedHive>::failure(
            QStringLiteral("the file is larger than %1").arg(limitText(HiveLimits::MaxFileBytes)));
    ParsedHive parsed;
    Reader(rootName, parsed).run(decode(bytes));
    return parsed;
}

Result<QByteArray> serializeHive(const Hive& hive, const QString& rootName) {
    QString out = kHeader + QLatin1Char('\n');
    for (const RegKey& key : hive.keys()) {
        if (key.path().isEmpty() && key.values().isEmpty()) continue; // the root always exists
        if (const Status named = checkName(key.path()); !named)
            return Result<QByteArray>::failure(
                QStringLiteral("key %1: %2").arg(key.path(), named.error()));
        QString section = QLatin1Char('[') + rootName;
        if (!key.path().isEmpty()) section += QLatin1Char('\\') + key.path();
        section += QLatin1Char(']');
        if (const Status fits = checkLine(section); !fits)
            return Result<QByteArray>::failure(
                QStringLiteral("key %1: %2").arg(key.path(), fits.error()));
        out += QLatin1Char('\n') + section + QLatin1Char('\n');
        for (const RegValue& v : key.values()) {
            if (const Status named = checkName(v.name); !named)
                return Result<QByteArray>::failure(
                    QStringLiteral("value %1: %2").arg(v.name, named.error()));
            const QString line = formatValue(v);
            if (const Status fits = checkLine(line); !fits)
                return Result<QByteArray>::failure(
                    QStringLiteral("value %1: %2").arg(v.name, fits.error()));
            out += line + QLatin1Char('\n');
        }
    }
    QByteArray bytes = out.toUtf8();
    if (bytes.size() > HiveLimits::MaxFileBytes)
        return Result<QByteArray>::failure(QStringLiteral("the file would be larger than %1")
                                               .arg(limitText(HiveLimits::MaxFileBytes)));
    return bytes;
}
