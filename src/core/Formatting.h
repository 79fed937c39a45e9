#pragma once
// Value formatters and quoting rules of the general module. Numbers follow the
// default QLocale (the system's unless a test pins another).
#include <QString>

namespace mainMod {

// Doubles every apostrophe: for text placed between apostrophes in Jet SQL.
// Double quotes stay single: between apostrophes Jet reads "" as two of them.
QString SqlQuote(const QString& text);
// The text as a Jet "…" literal: between two double quotes, each one inside doubled.
QString QuoteText(const QString& text);
// The text up to its first NUL character.
QString CutAtNul(const QString& text);

// "HH:mm:ss" of the time of day reached after that many seconds from midnight;
// 24 hours or more wrap. Fractions are dropped; negative values count as 0.
QString FormatDuration(double seconds);
// As above; a non-numeric text counts as 0.
QString FormatDuration(const QString& seconds);
// "1,023 bytes", "1.5 KB", "4.77 MB"...; "octets"/"o" with French units.
QString FormatSize(double bytes, bool frenchUnits = false);
// "128 Kbps" for 128000.
QString FormatBitrate(double bitsPerSecond);
// "44.10 KHz" for 44100, "800.00 Hz" for 800.
QString FormatFrequency(double hertz);

} // namespace mainMod
