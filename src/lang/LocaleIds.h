#pragma once
// Windows language identifiers (LCIDs) for Qt locales: the language files name
// their language by LCID.
#include <QLocale>

namespace LocaleIds {

// The LCID of a locale: the exact language and territory when known, else the
// language's default territory, else 1033 (English, United States).
int LCIDFromLocale(const QLocale& locale);
// The user's interface language, from the first of the system's UI languages.
int SystemLCID();
// The locale of an LCID (language and territory); English (United States) when unknown.
QLocale LocaleFromLCID(int lcid);

} // namespace LocaleIds
