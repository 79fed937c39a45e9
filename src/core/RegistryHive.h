#pragma once
// The in-memory form of one registry hive and its text form, the ".reg" export
// syntax: a header line, then "[ROOT\key\path]" sections holding
// "name"="text", "name"=dword:0000002a, "name"=hex:01,02 or "name"=hex(N):... lines.
#include "core/Result.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace RegType {
constexpr quint32 None = 0;
constexpr quint32 String = 1;       // REG_SZ, UTF-16LE
constexpr quint32 ExpandString = 2; // REG_EXPAND_SZ, UTF-16LE
constexpr quint32 Binary = 3;
constexpr quint32 DWord = 4;
constexpr quint32 MultiString = 7;
constexpr quint32 QWord = 11;
} // namespace RegType

struct RegValue {
    QString name; // empty for the key's default value ("@")
    quint32 type = RegType::String;
    QByteArray data; // raw bytes as the registry stores them

    static RegValue text(const QString& name, const QString& text, quint32 type = RegType::String);
    static RegValue dword(const QString& name, quint32 value);
    // The value as the settings layer reads it (see RegistryHive.cpp).
    QString readAsText() const;
};

struct RegKey {
    QString path; // as first written, without the root name
    QList<RegValue> values;

    RegValue* find(const QString& name);
    const RegValue* find(const QString& name) const;
    void set(const RegValue& value);
    bool remove(const QString& name);
};

class Hive {
public:
    // Keys and value names compare without regard to case, as on Windows.
    static QString fold(const QString& path);
    static QString cleanPath(const QString& path);

    RegKey* find(const QString& path);
    const RegKey* find(const QString& path) const;
    // Creates the key and every missing parent.
    RegKey& ensure(const QString& path);
    bool isEmpty() const { return m_keys.isEmpty(); }
    const QMap<QString, RegKey>& keys() const { return m_keys; }

private:
    QMap<QString, RegKey> m_keys; // folded path -> key
};

// Parses a hive file; rootName ("HKEY_CURRENT_USER") must prefix every section.
Result<Hive> parseHive(const QByteArray& bytes, const QString& rootName);
QByteArray serializeHive(const Hive& hive, const QString& rootName);
