#include "core/RegistryHive.h"

#include <QStringList>
#include <QtEndian>

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00";
const QByteArray kOldHeader = "REGEDIT4";

QByteArray utf16le(const QString& text) {
    QByteArray out;
    out.resize(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text.at(i).unicode(), out.data() + 2 * i);
    return out;
}

QString fromUtf16le(const QByteArray& data, qsizetype maxChars = -1) {
    qsizetype n = data.size() / 2;
    if (maxChars >= 0 && n > maxChars) n = maxChars;
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        out.append(QChar(qFromLittleEndian<quint16>(data.constData() + 2 * i)));
    return out;
}

QString cutAtNul(const QString& s) {
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

QString escape(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return out;
}

// Reads a quoted string starting at pos (on the opening quote); leaves pos after
// the closing quote. Returns false when the quote is not closed.
bool readQuoted(const QString& line, qsizetype& pos, QString& out) {
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"')) return false;
    ++pos;
    out.clear();
    while (pos < line.size()) {
        const QChar c = line.at(pos++);
        if (c == QLatin1Char('\\') && pos < line.size()) {
            out.append(line.at(pos++));
        } else if (c == QLatin1Char('"')) {
            return true;
        } else {
            out.append(c);
        }
    }
    return false;
}

bool parseHexBytes(const QString& text, QByteArray& out) {
    out.clear();
    const QString t = text.trimmed();
    if (t.isEmpty()) return true;
    for (const QString& part : t.split(QLatin1Char(','))) {
        bool ok = false;
        const uint b = part.trimmed().toUInt(&ok, 16);
        if (!ok || b > 0xFF || part.trimmed().size() > 2) return false;
        out.append(static_cast<char>(b));
    }
    return true;
}

bool parseValueData(const QString& spec, RegValue& value) {
    if (spec.startsWith(QLatin1Char('"'))) {
        qsizetype pos = 0;
        QString text;
        if (!readQuoted(spec, pos, text) || !spec.mid(pos).trimmed().isEmpty()) return false;
        value.type = RegType::String;
        value.data = utf16le(text);
        return true;
    }
    const QString lower = spec.toLower();
    if (lower.startsWith(QLatin1String("dword:"))) {
        const QString digits = spec.mid(6).trimmed();
        bool ok = false;
        const uint v = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8) return false;
        value.type = RegType::DWord;
        value.data.resize(4);
        qToLittleEndian<quint32>(v, value.data.data());
        return true;
    }
    if (lower.startsWith(QLatin1String("hex:"))) {
        value.type = RegType::Binary;
        return parseHexBytes(spec.mid(4), value.data);
    }
    if (lower.startsWith(QLatin1String("hex("))) {
        const qsizetype close = spec.indexOf(QLatin1String("):"));
        if (close < 0) return false;
        bool ok = false;
        value.type = spec.mid(4, close - 4).toUInt(&ok, 16);
        return ok && parseHexBytes(spec.mid(close + 2), value.data);
    }
    return false;
}

QString hexList(const QByteArray& data) {
    QStringList parts;
    parts.reserve(data.size());
    for (char c : data)
        parts << QStringLiteral("%1").arg(static_cast<uchar>(c), 2, 16, QLatin1Char('0'));
    return parts.join(QLatin1Char(','));
}

QString formatValue(const RegValue& v) {
    const QString name = v.name.isEmpty() ? QStringLiteral("@")
                                          : QLatin1Char('"') + escape(v.name) + QLatin1Char('"');
    if (v.type == RegType::String && v.data.size() % 2 == 0) {
        const QString text = fromUtf16le(v.data);
        // Plain quoted form only for text that survives it unchanged.
        if (!text.contains(QChar(0)) && !text.contains(QLatin1Char('\n')) &&
            !text.contains(QLatin1Char('\r')))
            return name + QStringLiteral("=\"") + escape(text) + QLatin1Char('"');
    }
    if (v.type == RegType::DWord && v.data.size() == 4)
        return name +
               QStringLiteral("=dword:%1")
                   .arg(qFromLittleEndian<quint32>(v.data.constData()), 8, 16, QLatin1Char('0'));
    if (v.type == RegType::Binary) return name + QStringLiteral("=hex:") + hexList(v.data);
    return name + QStringLiteral("=hex(%1):").arg(v.type, 0, 16) + hexList(v.data);
}

} // namespace

RegValue RegValue::text(const QString& name, const QString& text, quint32 type) {
    return RegValue{name, type, utf16le(text)};
}

RegValue RegValue::dword(const QString& name, quint32 v) {
    RegValue r{name, RegType::DWord, QByteArray(4, '\0')};
    qToLittleEndian<quint32>(v, r.data.data());
    return r;
}

QString RegValue::readAsText() const {
    switch (type) {
    case RegType::String:
        return cutAtNul(fromUtf16le(data));
    case RegType::ExpandString:
        // Read without expansion into a buffer of 254 characters.
        return cutAtNul(fromUtf16le(data, 254));
    case RegType::Binary: {
        // A four-byte buffer: longer values do not fit and read as nothing.
        if (data.size() > 4) return QString();
        char buffer[4] = {0, 0, 0, 0};
        std::copy(data.begin(), data.end(), buffer);
        return QString::number(qFromLittleEndian<qint16>(buffer));
    }
    default:
        return QString();
    }
}

RegValue* RegKey::find(const QString& name) {
    for (RegValue& v : values)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) return &v;
    return nullptr;
}

const RegValue* RegKey::find(const QString& name) const {
    return const_cast<RegKey*>(this)->find(name);
}

void RegKey::set(const RegValue& value) {
    if (RegValue* existing = find(value.name)) {
        existing->type = value.type;
        existing->data = value.data;
    } else {
        values.append(value);
    }
}

bool RegKey::remove(const QString& name) {
    for (qsizetype i = 0; i < values.size(); ++i)
        if (values[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            values.removeAt(i);
            return true;
        }
    return false;
}

QString Hive::cleanPath(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

QString Hive::fold(const QString& path) {
    return cleanPath(path).toCaseFolded();
}

RegKey* Hive::find(const QString& path) {
    auto it = m_keys.find(fold(path));
    return it == m_keys.end() ? nullptr : &it.value();
}

const RegKey* Hive::find(const QString& path) const {
    auto it = m_keys.constFind(fold(path));
    return it == m_keys.cend() ? nullptr : &it.value();
}

RegKey& Hive::ensure(const QString& path) {
    const QStringList parts = cleanPath(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString current;
    RegKey* key = find(QString());
    if (!key) key = &m_keys.insert(QString(), RegKey{QString(), {}}).value();
    for (const QString& part : parts) {
        current = current.isEmpty() ? part : current + QLatin1Char('\\') + part;
        key = find(current);
        if (!key) key = &m_keys.insert(fold(current), RegKey{current, {}}).value();
    }
    return *key;
}

Result<Hive> parseHive(const QByteArray& bytes, const QString& rootName) {
    Hive hive;
    QString content = QString::fromUtf8(bytes);
    if (content.startsWith(QChar(0xFEFF))) content.remove(0, 1);
    const QStringList rawLines = content.split(QLatin1Char('\n'));

    // Join continuation lines (a trailing backslash outside quotes, as regedit
    // writes long hex lists).
    QStringList lines;
    QString pending;
    for (QString line : rawLines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        pending += pending.isEmpty() ? line : line.trimmed();
        const bool continued = pending.endsWith(QLatin1Char('\\')) &&
                               !pending.trimmed().startsWith(QLatin1Char('[')) &&
                               pending.contains(QLatin1String("=hex"), Qt::CaseInsensitive);
        if (continued) {
            pending.chop(1);
            continue;
        }
        lines << pending;
        pending.clear();
    }
    if (!pending.isEmpty()) lines << pending;

    bool headerSeen = false;
    RegKey* current = nullptr;
    int lineNo = 0;
    for (const QString& raw : lines) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (!headerSeen) {
            if (line.toUtf8() != kHeader && line.toUtf8() != kOldHeader)
                return Result<Hive>::failure(QStringLiteral("not a registry file"));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                return Result<Hive>::failure(QStringLiteral("line %1: bad key").arg(lineNo));
            QString path = line.mid(1, line.size() - 2);
            if (path.startsWith(QLatin1Char('-'))) { // a deletion entry: nothing to keep
                current = nullptr;
                continue;
            }
            if (path.compare(rootName, Qt::CaseInsensitive) == 0)
                path.clear();
            else if (path.startsWith(rootName + QLatin1Char('\\'), Qt::CaseInsensitive))
                path = path.mid(rootName.size() + 1);
            else
                return Result<Hive>::failure(QStringLiteral("line %1: foreign root").arg(lineNo));
            current = &hive.ensure(path);
            continue;
        }
        if (!current)
            return Result<Hive>::failure(
                QStringLiteral("line %1: value outside a key").arg(lineNo));
        RegValue value;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (!readQuoted(line, pos, value.name)) {
            return Result<Hive>::failure(QStringLiteral("line %1: bad value name").arg(lineNo));
        }
        while (pos < line.size() && line.at(pos).isSpace())
            ++pos;
        if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
            return Result<Hive>::failure(QStringLiteral("line %1: missing '='").arg(lineNo));
        const QString spec = line.mid(pos + 1).trimmed();
        if (spec == QLatin1String("-")) {
            current->remove(value.name);
            continue;
        }
        if (!parseValueData(spec, value))
            return Result<Hive>::failure(QStringLiteral("line %1: bad value data").arg(lineNo));
        current->set(value);
    }
    if (!headerSeen && !hive.isEmpty())
        return Result<Hive>::failure(QStringLiteral("not a registry file"));
    return hive;
}

QByteArray serializeHive(const Hive& hive, const QString& rootName) {
    QString out = QString::fromUtf8(kHeader) + QLatin1Char('\n');
    for (const RegKey& key : hive.keys()) {
        if (key.path.isEmpty() && key.values.isEmpty()) continue; // the root always exists
        out += QStringLiteral("\n[") + rootName;
        if (!key.path.isEmpty()) out += QLatin1Char('\\') + key.path;
        out += QStringLiteral("]\n");
        for (const RegValue& v : key.values)
            out += formatValue(v) + QLatin1Char('\n');
    }
    return out.toUtf8();
}
