#include "util/UpdateAnswer.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

namespace mainMod {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// "\n" written as two characters in the page is a line break.
QString withBreaks(const QString& text) {
    return QString(text).replace(QStringLiteral("\\n"), CrLf).trimmed();
}

bool isTrue(const QString& value) {
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           value == QLatin1String("1");
}

} // namespace

QString UpdateAnswer::message() const {
    if (messageTitle.isEmpty()) return messageText;
    if (messageText.isEmpty()) return messageTitle;
    return messageTitle + CrLf + messageText;
}

bool EndsWithEof(const QString& page) {
    const QString text = page.trimmed();
    return text.size() >= 5 &&
           text.right(5).compare(QLatin1String("[EOF]"), Qt::CaseInsensitive) == 0;
}

QDate ParseReleaseDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QDate date = QDate::fromString(t, Qt::ISODate);
    if (!date.isValid()) date = QDateTime::fromString(t, Qt::ISODate).date();
    const QLocale c = QLocale::c();
    for (const char* format : {"yyyy/M/d", "yyyy-M-d", "d MMM yyyy", "MMM d, yyyy", "M/d/yyyy"}) {
        if (date.isValid()) break;
        date = c.toDate(t, QLatin1String(format));
    }
    return date;
}

UpdateAnswer ParseUpdateAnswer(const QString& page, bool mayRedirect) {
    UpdateAnswer answer;
    answer.complete = EndsWithEof(page);
    QString say;
    bool haveMsgbox = false;
    for (QString line : page.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (line.isEmpty() || eq < 0 || line.startsWith(QLatin1Char('@'))) continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("version")) {
            answer.version = value;
        } else if (key == QLatin1String("isbeta") || key == QLatin1String("beta")) {
            answer.beta = isTrue(value);
        } else if (key == QLatin1String("rdate") || key == QLatin1String("release_date") ||
                   key == QLatin1String("release date")) {
            if (const QDate date = ParseReleaseDate(value); date.isValid())
                answer.releaseDate = date;
        } else if (key == QLatin1String("msgbox") || key == QLatin1String("msg")) {
            const qsizetype bar = value.indexOf(QLatin1Char('|'));
            answer.messageTitle = bar < 0 ? QString() : withBreaks(value.left(bar));
            answer.messageText = withBreaks(bar < 0 ? value : value.mid(bar + 1));
            haveMsgbox = true;
        } else if (key == QLatin1String("say")) {
            say = withBreaks(value);
        } else if (key == QLatin1String("redir") || key == QLatin1String("redirect")) {
            if (mayRedirect && !value.isEmpty()) {
                answer.redirect = value;
                return answer;
            }
        }
    }
    // A box message wins; "say" is the plain message of pages without one.
    if (!haveMsgbox && !say.isEmpty()) answer.messageText = say;
    return answer;
}

} // namespace mainMod
