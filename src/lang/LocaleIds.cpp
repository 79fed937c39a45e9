#include "lang/LocaleIds.h"

#include <QStringList>

namespace LocaleIds {

namespace {

struct Entry {
    QLocale::Language language;
    QLocale::Territory territory; // AnyTerritory: the language's default id
    int lcid;
};

// Defaults first within each language; specific territories follow.
constexpr Entry kTable[] = {
    {QLocale::English, QLocale::AnyTerritory, 1033},
    {QLocale::English, QLocale::UnitedStates, 1033},
    {QLocale::English, QLocale::UnitedKingdom, 2057},
    {QLocale::English, QLocale::Australia, 3081},
    {QLocale::English, QLocale::Canada, 4105},
    {QLocale::English, QLocale::NewZealand, 5129},
    {QLocale::English, QLocale::Ireland, 6153},
    {QLocale::English, QLocale::SouthAfrica, 7177},
    {QLocale::Portuguese, QLocale::AnyTerritory, 2070},
    {QLocale::Portuguese, QLocale::Portugal, 2070},
    {QLocale::Portuguese, QLocale::Brazil, 1046},
    {QLocale::German, QLocale::AnyTerritory, 1031},
    {QLocale::German, QLocale::Germany, 1031},
    {QLocale::German, QLocale::Switzerland, 2055},
    {QLocale::German, QLocale::Austria, 3079},
    {QLocale::German, QLocale::Luxembourg, 4103},
    {QLocale::German, QLocale::Liechtenstein, 5127},
    {QLocale::French, QLocale::AnyTerritory, 1036},
    {QLocale::French, QLocale::France, 1036},
    {QLocale::French, QLocale::Belgium, 2060},
    {QLocale::French, QLocale::Canada, 3084},
    {QLocale::French, QLocale::Switzerland, 4108},
    {QLocale::French, QLocale::Luxembourg, 5132},
    {QLocale::Spanish, QLocale::AnyTerritory, 1034},
    {QLocale::Spanish, QLocale::Spain, 1034},
    {QLocale::Spanish, QLocale::Mexico, 2058},
    {QLocale::Spanish, QLocale::Argentina, 11274},
    {QLocale::Italian, QLocale::AnyTerritory, 1040},
    {QLocale::Italian, QLocale::Italy, 1040},
    {QLocale::Italian, QLocale::Switzerland, 2064},
    {QLocale::Dutch, QLocale::AnyTerritory, 1043},
    {QLocale::Dutch, QLocale::Netherlands, 1043},
    {QLocale::Dutch, QLocale::Belgium, 2067},
    {QLocale::Catalan, QLocale::AnyTerritory, 1027},
    {QLocale::Danish, QLocale::AnyTerritory, 1030},
    {QLocale::Swedish, QLocale::AnyTerritory, 1053},
    {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 1044},
    {QLocale::Finnish, QLocale::AnyTerritory, 1035},
    {QLocale::Polish, QLocale::AnyTerritory, 1045},
    {QLocale::Czech, QLocale::AnyTerritory, 1029},
    {QLocale::Hungarian, QLocale::AnyTerritory, 1038},
    {QLocale::Greek, QLocale::AnyTerritory, 1032},
    {QLocale::Turkish, QLocale::AnyTerritory, 1055},
    {QLocale::Russian, QLocale::AnyTerritory, 1049},
    {QLocale::Japanese, QLocale::AnyTerritory, 1041},
    {QLocale::Korean, QLocale::AnyTerritory, 1042},
    {QLocale::Chinese, QLocale::AnyTerritory, 2052},
    {QLocale::Chinese, QLocale::China, 2052},
    {QLocale::Chinese, QLocale::Taiwan, 1028},
    {QLocale::Chinese, QLocale::HongKong, 3076},
};

constexpr int kDefault = 1033;

} // namespace

int LCIDFromLocale(const QLocale& locale) {
    int languageDefault = 0;
    for (const Entry& e : kTable) {
        if (e.language != locale.language()) continue;
        if (e.territory == locale.territory()) return e.lcid;
        if (e.territory == QLocale::AnyTerritory) languageDefault = e.lcid;
    }
    return languageDefault ? languageDefault : kDefault;
}

int SystemLCID() {
    const QLocale system = QLocale::system();
    const QStringList ui = system.uiLanguages();
    return LCIDFromLocale(ui.isEmpty() ? system : QLocale(ui.first()));
}

QLocale LocaleFromLCID(int lcid) {
    const Entry* found = nullptr;
    for (const Entry& e : kTable)
        if (e.lcid == lcid && (!found || found->territory == QLocale::AnyTerritory)) found = &e;
    if (!found) return QLocale(QLocale::English, QLocale::UnitedStates);
    return QLocale(found->language, found->territory);
}

} // namespace LocaleIds
