#include "core/RegistryHive.h"

#include <QStringList>
#include <QSysInfo>
#include <QtEndian>

#include <cstring>

namespace {

QByteArray utf16le(const QString& text) {
    QByteArray out;
    out.resize(text.size() * 2);
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(out.data(), text.utf16(), out.size());
    } else {
        for (qsizetype i = 0; i < text.size(); ++i)
            qToLittleEndian<quint16>(text.at(i).unicode(), out.data() + 2 * i);
    }
    return out;
}

QString fromUtf16le(const QByteArray& data, qsizetype maxChars = -1) {
    qsizetype n = data.size() / 2;
    if (maxChars >= 0 && n > maxChars) n = maxChars;
    QString out(n, Qt::Uninitialized);
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(out.data(), data.constData(), n * 2);
    } else {
        for (qsizetype i = 0; i < n; ++i)
            out[i] = QChar(qFromLittleEndian<quint16>(data.constData() + 2 * i));
    }
    return out;
}

QString cutAtNul(const QString& s) {
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
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

QString RegValue::utf16Text() const {
    return fromUtf16le(data);
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

const RegValue* RegKey::find(const QString& name) const {
    const auto it = m_index.constFind(name.toCaseFolded());
    return it == m_index.cend() ? nullptr : &m_values.at(it.value());
}

void RegKey::set(RegValue value) {
    const QString folded = value.name.toCaseFolded();
    const auto it = m_index.constFind(folded);
    if (it != m_index.cend()) {
        RegValue& existing = m_values[it.value()];
        existing.type = value.type;
        existing.data = std::move(value.data);
        return;
    }
    m_index.insert(folded, m_values.size());
    m_values.append(std::move(value));
}

bool RegKey::remove(const QString& name) {
    const auto it = m_index.constFind(name.toCaseFolded());
    if (it == m_index.cend()) return false;
    const qsizetype at = it.value();
    m_index.erase(it);
    m_values.removeAt(at);
    for (qsizetype i = at; i < m_values.size(); ++i)
        m_index[m_values.at(i).name.toCaseFolded()] = i;
    return true;
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
    if (!key) key = &m_keys.insert(QString(), RegKey()).value();
    for (const QString& part : parts) {
        current = current.isEmpty() ? part : current + QLatin1Char('\\') + part;
        key = find(current);
        if (!key) key = &m_keys.insert(fold(current), RegKey(current)).value();
    }
    return *key;
}

Status checkName(const QString& name) {
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            const QString code = QString::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
            return Status::failure(
                QStringLiteral("the name holds the control character U+%1").arg(code));
        }
    }
    if (!name.isValidUtf16())
        return Status::failure(QStringLiteral("the name holds a broken UTF-16 sequence"));
    return Status();
}
