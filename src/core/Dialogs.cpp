#include "core/Dialogs.h"

namespace {

class SilentDialogs : public Dialogs {
public:
    Answer MsgBox(const QString&, int style, const QString&) override {
        switch (style & 7) {
        case YesNo:
        case YesNoCancel:
            return Yes;
        case AbortRetryIgnore:
            return Abort;
        case RetryCancel:
            return Retry;
        default:
            return Ok;
        }
    }
    QString BrowseForFolder(const QString&, const QString&) override { return QString(); }
};

Dialogs* g_current = nullptr;

} // namespace

int Dialogs::ChooseOption(const QString&, const QStringList& choices, int selected) {
    if (choices.isEmpty()) return -1;
    return selected >= 0 && selected < choices.size() ? selected : 0;
}

Dialogs& Dialogs::current() {
    static SilentDialogs silent;
    return g_current ? *g_current : silent;
}

void Dialogs::setCurrent(Dialogs* dialogs) {
    g_current = dialogs;
}
