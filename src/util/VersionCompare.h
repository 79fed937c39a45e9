#pragma once
// The update check's version order: four dotted parts, each reduced to its
// decimal value, and the joined texts compared character by character.
#include <QString>

namespace mainMod {

// "1.2" -> "1.2.0.0", "v3.01.x.7.9" -> "0.1.0.7": exactly four parts, each the
// value of its leading digits ("0" when there are none).
QString NormalizeVersion(const QString& version);
// 0 when equal, 1 when current is the greater, 2 when other is the greater.
// Texts, not numbers, are compared, so "1.10" orders before "1.9".
int CompareVersions(const QString& current, const QString& other);

} // namespace mainMod
