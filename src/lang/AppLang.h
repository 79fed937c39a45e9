#pragma once
// The application's one language manager, set at start-up and read by every
// window, and the start-up and menu steps that choose its language.
#include <QString>
#include <QStringList>

class clsMUI;

namespace mainMod {

// The manager start-up created, or nullptr before that and after shut-down.
clsMUI* Lang();
// Start-up hands the manager over; the caller keeps ownership.
void SetLang(clsMUI* lang);
// Language text n of the current language; empty without a manager.
QString LangText(int number, const QStringList& args = {});
// Status texts from the library and the indexing engine: "$42" stands for
// language text 42 (the leading digits after "$"); any other text is itself.
QString LangTextRef(const QString& text);

// Moves the legacy root value "LCID" to "Misc\LCID", selects the stored language
// (a non-numeric value meaning the user's default) and stores the language the
// manager settled on. Returns the loaded LCID; 0 when no language could be read.
int SelectStartupLanguage(clsMUI& lang);
// The language menu: loads the language and remembers it in "Misc\LCID".
// False when it could not be loaded; the previous language is then kept.
bool SwitchLanguage(clsMUI& lang, int lcid);

} // namespace mainMod
