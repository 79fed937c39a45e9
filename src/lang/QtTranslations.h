#pragma once
// Qt's own texts (standard buttons, the context menus of text fields) in the
// language of the interface: Qt's translation files, switched with the language.

namespace QtTranslations {

// Installs the translation of the language (an LCID), replacing the one installed
// before; English needs none. False when no translation of the language is there.
bool Use(int lcid);

} // namespace QtTranslations
