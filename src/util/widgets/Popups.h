#pragma once
// The application's popup manager and the one-call notice of the general module.
#include <QString>

class popMsgClass;

namespace mainMod {

// Set at start-up, cleared at shut-down; null when there is none.
popMsgClass* Popups();
void SetPopups(popMsgClass* popups);
// Resets the manager, sets show time, icon, title and text, and pops the
// notice. Does nothing without a manager.
void ShowPopup(const QString& text, int icon, const QString& title, int showTime);

} // namespace mainMod
