#include "lang/QtTranslations.h"

#include "lang/LocaleIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace QtTranslations {

namespace {

std::unique_ptr<QTranslator>& installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// The locale's own file, else another territory's of the same language (Qt ships
// Brazilian Portuguese only, which serves Portugal far better than English).
bool load(QTranslator& t, const QLocale& locale) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (t.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) return true;
    const QString language = locale.name().section(QLatin1Char('_'), 0, 0);
    const QStringList others =
        QDir(folder).entryList({QStringLiteral("qtbase_%1_*.qm").arg(language)}, QDir::Files);
    return !others.isEmpty() && t.load(others.first(), folder);
}

} // namespace

bool Use(int lcid) {
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    const QLocale locale = LocaleIds::LocaleFromLCID(lcid);
    if (locale.language() == QLocale::English) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!load(*translator, locale)) return false;
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    return true;
}

} // namespace QtTranslations
