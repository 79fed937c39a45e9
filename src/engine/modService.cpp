#include "engine/modService.h"

namespace modService {

bool IsNTFamily() {
    return false;
}

void QueryService(const QString& name, bool& installed, bool& running) {
    Q_UNUSED(name);
    installed = false;
    running = false;
    if (!IsNTFamily()) return;
}

bool StartService(const QString& name) {
    if (!IsNTFamily()) return false;
    bool installed = false, running = false;
    QueryService(name, installed, running);
    return false;
}

QString CutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul > 0 ? text.left(nul) : text;
}

} // namespace modService
