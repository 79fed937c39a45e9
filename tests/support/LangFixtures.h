#pragma once
// Language containers for tests, written through the real encoder.
#include <QString>
#include <QStringList>

class clsMUI;

// Writes folder/fileName as a container of "QVLF V1.0$lcid$name" followed by
// the given lines, padded with a comment to the encoder's minimum length.
// Returns the file's path.
QString writeLangFile(const QString& folder, const QString& fileName, int lcid, const QString& name,
                      const QStringList& lines);
// The same for a complete plain text (no header added, padded at the end).
QString writeLangText(const QString& folder, const QString& fileName, const QString& text);

// Loads a shipped language (from the built Lang folder) into lang and makes it
// the application's language; true when it loaded.
bool UseShippedLanguage(clsMUI& lang, int lcid = 1033);
