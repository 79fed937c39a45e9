#include "util/widgets/Popups.h"

#include "util/widgets/popMsgClass.h"

#include <QPointer>

namespace mainMod {

namespace {
QPointer<popMsgClass> g_popups;
}

popMsgClass* Popups() {
    return g_popups.data();
}

void SetPopups(popMsgClass* popups) {
    g_popups = popups;
}

void ShowPopup(const QString& text, int icon, const QString& title, int showTime) {
    popMsgClass* popups = Popups();
    if (!popups) return;
    popups->ResetDefaultValues();
    popups->setShowTime(static_cast<qint16>(showTime));
    popups->setIcon(icon);
    popups->setTitle(title);
    popups->setText(text);
    popups->PopMessage();
}

} // namespace mainMod
