#include "convert/ConvertTexts.h"

#include "lang/AppLang.h"
#include "lang/Mui.h"

namespace convert {

namespace {

QString keyText(const QString& key, const QString& english) {
    const clsMUI* lang = mainMod::Lang();
    return lang && lang->HasText(key) ? lang->TextObj(key) : english;
}

} // namespace

QString MessageText(ConvertMessage number) {
    const QString text = mainMod::LangText(number);
    if (!text.isEmpty()) return text;
    switch (number) {
    case InvalidFileNameText:
        return QStringLiteral("Invalid filename.");
    case InvalidTargetFolderText:
        return QStringLiteral("Invalid target folder.");
    case NotCompletedText:
        return QStringLiteral("The current conversion was not completed successfully.");
    case CanceledText:
        return QStringLiteral("Conversion canceled.");
    case CompletedWithErrorsText:
        return QStringLiteral("Conversion completed with errors.");
    case CompletedText:
        return QStringLiteral("Conversion completed.");
    case CancelQuestionText:
        return QStringLiteral("Cancel conversion process?");
    case SelectFolderText:
        return QStringLiteral("Select output folder");
    }
    return QString();
}

QString TitleText(const char* english) {
    QString word = QLatin1String(english);
    word.remove(QLatin1Char(' '));
    return keyText(QStringLiteral("frmConvert.Title(%1)").arg(word), QLatin1String(english));
}

QString StateText(RowState state) {
    const QString word = StateWord(state);
    return keyText(QStringLiteral("frmConvert.State(%1)").arg(word), word);
}

} // namespace convert
