#pragma once
// The in-memory form of one registry hive and its text form, the ".reg" export
// syntax: a header line, then "[ROOT\key\path]" sections holding
// "name"="text", "name"=dword:0000002a, "name"=hex:01,02 or "name"=hex(N):... lines.
#include "core/Result.h"

#include <QByteArray>
#include <QHash>
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

// Bounds on what a hive file may hold, so that a damaged or hostile file cannot
// take the process's memory and time. Both directions obey them: a file over
// MaxFileBytes is neither read nor rewritten, a longer line is skipped when read,
// and a value whose line would be longer is refused when written.
namespace HiveLimits {
constexpr qsizetype MaxFileBytes = 16 * 1024 * 1024;
constexpr qsizetype MaxLineChars = 1024 * 1024; // one logical line, continuations joined
constexpr qsizetype MaxReportedProblems = 100;
} // namespace HiveLimits

struct RegValue {
    QString name; // empty for the key's default value ("@")
    quint32 type = RegType::String;
    QByteArray data; // raw bytes as the registry stores them

    static RegValue text(const QString& name, const QString& text, quint32 type = RegType::String);
    static RegValue dword(const QString& name, quint32 value);
    // The value as the settings layer reads it (see RegistryHive.cpp).
    QString readAsText() const;
    // All of the data taken as UTF-16LE text, NULs included.
    QString utf16Text() const;
};

// One key: its values in the order they were first set, found by name without
// regard to case through an index.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; } // as first written, without the root name
    const QList<RegValue>& values() const { return m_values; }
    const RegValue* find(const QString& name) const;
    // Replaces the data and type of a value of that name, or appends the value.
    void set(RegValue value);
    bool remove(const QString& name);

private:
    QString m_path;
    QList<RegValue> m_values;
    QHash<QString, qsizetype> m_index; // folded name -> position in m_values
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

// Why a key path or value name cannot be stored: a control character or a
// broken UTF-16 sequence would not survive a line of the file.
Status checkName(const QString& name);
// Why a value cannot be stored: a bad name, or a line longer than the limit.
Status checkValue(const RegValue& value);

// One line the reader skipped.
struct HiveProblem {
    qsizetype line = 0; // 1-based, the first line of a continued line
    QString reason;
};

struct ParsedHive {
    Hive hive;
    QList<HiveProblem> problems; // the first MaxReportedProblems, in file order
    qsizetype problemCount = 0;  // all of them
};

// Reads a hive file line by line; rootName ("HKEY_CURRENT_USER") must prefix every
// section. A bad line is skipped and reported, every good value is kept. UTF-8,
// and UTF-16 with a byte-order mark, as the Windows registry editor exports;
// "REGEDIT4" files that are not UTF-8 are read as Windows-1252. Fails only for a
// file over HiveLimits::MaxFileBytes.
Result<ParsedHive> parseHive(const QByteArray& bytes, const QString& rootName);
// The hive as a UTF-8 file with the version 5.00 header; fails when a name
// cannot be written or the file would pass the limits.
Result<QByteArray> serializeHive(const Hive& hive, const QString& rootName);
