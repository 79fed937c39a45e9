#pragma once
// HTML entities and URL escapes of single-byte (Windows-1252) text, by two
// 256-entry tables built once per object. Immutable after construction.
#include "core/Result.h"

#include <QString>
#include <QStringList>
#include <array>

class clsWEncode {
public:
    clsWEncode();

    // Every character replaced by its HTML-table entry ("&amp;", "&eacute;", ...).
    QString ksText2HTML(const QString& text) const;
    // Every listed entity name replaced by its character, in list order.
    QString ksHTML2Text(const QString& text) const;
    // Every character but ASCII letters and digits as "%XX" of its code.
    QString ksEncodeURL(const QString& text) const;
    // "+" as space, "%XX" as the character of code XX; fails on a "%" followed by
    // two characters that are no hexadecimal number.
    Result<QString> ksDecodeURL(const QString& text) const;

    // Up to this many characters the encoders append; longer texts are built
    // from per-character pieces joined once.
    static constexpr int ConcatLimit = 2048;

private:
    using Table = std::array<QString, 256>;
    QString encode(const QString& text, const Table& table) const;

    Table m_url;
    Table m_html;
    QStringList m_names;     // entity names, in list order
    QList<QChar> m_entityOf; // the character of each name
};
