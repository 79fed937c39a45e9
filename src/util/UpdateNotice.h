#pragma once
// The texts of the update notices, from the current language.
#include <QDate>
#include <QString>

namespace mainMod {

struct UpdateNotice {
    QString title;
    QString text;
};

// A newer version: version, release date ("yyyy-MM-dd", empty without one),
// product name and web address; the page's message after a blank line.
UpdateNotice UpdateAvailableNotice(const QString& version, const QDate& releaseDate,
                                   const QString& message);
// A check that failed, with the reason.
UpdateNotice UpdateFailedNotice(const QString& reason);

} // namespace mainMod
