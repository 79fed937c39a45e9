#pragma once
// Reading and writing single settings by path relative to the settings root,
// e.g. "Misc\LCID" (value LCID of key Misc) or "LCID" (a value of the root).
#include "core/Result.h"

#include <QString>

namespace mainMod {

// The value's text. When it is empty and a default is given, the default is
// written into the store and returned (inside a Registry::Batch, written when
// the batch ends).
QString ReadSetting(const QString& path, const QString& defaultValue = QString(),
                    bool machineWide = false);
// Creates the key when needed and writes the value; false when it could not.
bool WriteSetting(const QString& path, const QString& value, bool machineWide = false);
// Removes the value; false when there was none or it could not be removed.
bool DeleteSetting(const QString& path, bool machineWide = false);
// The same two with the reason of a failure, for callers that can tell the user.
Status TryWriteSetting(const QString& path, const QString& value, bool machineWide = false);
Status TryDeleteSetting(const QString& path, bool machineWide = false);
// The number the text holds, or the default when it holds none.
double NumberOr(const QString& text, double defaultValue);

} // namespace mainMod
