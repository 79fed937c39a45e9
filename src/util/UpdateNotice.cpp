#include "util/UpdateNotice.h"

#include "core/AppInfo.h"
#include "lang/AppLang.h"
#include "util/UpdateSettings.h"

namespace mainMod {

namespace {

constexpr int AvailableText = 91;
constexpr int AvailableTitle = 911;
constexpr int FailedText = 912;
constexpr int FailedTitle = 913;

} // namespace

UpdateNotice UpdateAvailableNotice(const QString& version, const QDate& releaseDate,
                                   const QString& message) {
    const QString date =
        releaseDate.isValid() ? releaseDate.toString(QStringLiteral("yyyy-MM-dd")) : QString();
    QString text = LangText(AvailableText, {version, date, AppName(), ProductWebAddress()});
    if (!message.isEmpty()) text += QStringLiteral("\r\n\r\n") + message;
    return {LangText(AvailableTitle), text};
}

UpdateNotice UpdateFailedNotice(const QString& reason) {
    return {LangText(FailedTitle), LangText(FailedText, {reason})};
}

} // namespace mainMod
