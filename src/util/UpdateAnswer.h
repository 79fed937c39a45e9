#pragma once
// The update page: key=value lines that must end with "[EOF]".
#include <QDate>
#include <QString>

namespace mainMod {

struct UpdateAnswer {
    bool complete = false; // the page ended with "[EOF]"
    QString redirect;      // non-empty: fetch this address instead; the rest was not read
    QString version;
    bool beta = false;
    QDate releaseDate;    // null when none was given or it was not a date
    QString messageTitle; // from "msgbox"/"msg": the part before "|"
    QString messageText;  // the part after it, or a "say" line

    // Title and text on their own lines, or the text alone.
    QString message() const;
};

// Reads the page's text. A "redir"/"redirect" line with a value stops the
// reading when mayRedirect; otherwise such lines are ignored.
UpdateAnswer ParseUpdateAnswer(const QString& page, bool mayRedirect);
// "[EOF]" in any case as the last five characters (trailing blanks aside).
bool EndsWithEof(const QString& page);
// A release date as the page may write it; null when it is not a date.
QDate ParseReleaseDate(const QString& text);

} // namespace mainMod
