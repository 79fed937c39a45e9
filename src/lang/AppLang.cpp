#include "lang/AppLang.h"

#include "core/Settings.h"
#include "lang/Mui.h"

#include <cmath>

namespace mainMod {

namespace {

clsMUI* g_lang = nullptr;

const QString kSetting = QStringLiteral("Misc\\LCID");

} // namespace

clsMUI* Lang() {
    return g_lang;
}

void SetLang(clsMUI* lang) {
    g_lang = lang;
}

QString LangText(int number, const QStringList& args) {
    return g_lang ? g_lang->Text(number, args) : QString();
}

QString LangTextRef(const QString& text) {
    if (!text.startsWith(QLatin1Char('$'))) return text;
    qsizetype digits = 1;
    while (digits < text.size() && digits < 10 && text.at(digits).isDigit() &&
           text.at(digits).unicode() < 0x80)
        ++digits;
    return LangText(text.mid(1, digits - 1).toInt());
}

int SelectStartupLanguage(clsMUI& lang) {
    const QString legacy = ReadSetting(QStringLiteral("LCID"));
    if (!legacy.isEmpty()) {
        DeleteSetting(QStringLiteral("LCID"));
        WriteSetting(kSetting, legacy);
    }
    const double stored = NumberOr(ReadSetting(kSetting), 0);
    const int requested =
        std::fabs(stored) <= 2147483647.0 ? static_cast<int>(std::lround(stored)) : 0;
    lang.SetLCID(requested);
    const int loaded = lang.LCID();
    if (loaded != 0 && loaded != requested) WriteSetting(kSetting, QString::number(loaded));
    return loaded;
}

bool SwitchLanguage(clsMUI& lang, int lcid) {
    const int previous = lang.LCID();
    lang.SetLCID(lcid);
    if (lang.LCID() == 0) {
        // A language that vanished since listing: keep the one shown so far.
        if (previous != 0) lang.SetLCID(previous);
        return false;
    }
    WriteSetting(kSetting, QString::number(lang.LCID()));
    return true;
}

} // namespace mainMod
