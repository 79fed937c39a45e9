#pragma once
// Language sources as kept in the source tree (UTF-8, LF line ends) and their
// checks against a reference language.
#include "core/Result.h"
#include "lang/LangFile.h"
#include "lang/LangTexts.h"

#include <QString>
#include <QStringList>

struct LangSource {
    QString text; // the plain text form: CR LF lines, Windows-1252 characters only
    LangFile::Header header;
    QStringList warnings; // "FILE:LINE: ..." notes that do not stop encoding
};

// Reads a source file: UTF-8 (a BOM is dropped), or Windows-1252 when the bytes
// are not valid UTF-8, as files saved from captured windows are. Fails, naming
// the line, on a bad header or a character without a Windows-1252 form.
Result<LangSource> ReadLangSource(const QString& path);

struct LangDifferences {
    QStringList missing;      // reference keys the translation lacks
    QStringList placeholders; // keys whose "%n" sets differ, with both sets
    QStringList extra;        // translation keys the reference does not have
    bool ok() const { return missing.isEmpty() && placeholders.isEmpty(); }
};
LangDifferences CompareLangTexts(const LangTexts& reference, const LangTexts& translation);
