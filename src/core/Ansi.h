#pragma once
// "ANSI" text is Windows-1252. The mapping here is total and reversible: the five
// bytes that Windows-1252 leaves undefined map to the control characters of the
// same value, as Windows itself does, so bytes survive a trip through a QString.
#include <QByteArray>
#include <QString>

namespace Ansi {

// Text to Windows-1252 bytes; characters without a Windows-1252 form become '?'.
QByteArray fromUnicode(const QString& text);
// Windows-1252 bytes to text, one character per byte.
QString toUnicode(const QByteArray& bytes);
// True when every character of the text has a Windows-1252 form.
bool canEncode(const QString& text);
// The Windows-1252 code of one character, or -1 when it has none.
int codeOf(QChar c);

} // namespace Ansi
