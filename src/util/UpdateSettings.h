#pragma once
// Where the update check asks and when it may ask again.
#include <QDateTime>
#include <QString>

namespace mainMod {

// The endpoint used when no Misc\UpdateURL value exists; set at build time
// (QUAVERO_UPDATE_URL, empty to build without update checks).
QString DefaultUpdateUrl();
// Replaces the built-in endpoint for this process (tests that must not reach
// the network).
void SetDefaultUpdateUrl(const QString& url);
// The endpoint: Misc\UpdateURL of the user, else of the machine, else the
// built-in one. A value that exists but is empty switches checks off: the
// result is then empty.
QString UpdateUrl();
// The address fetched: endpoint + "getinfo2.asp?pid=Quavero&cv=" + version.
QString UpdateRequestUrl(const QString& endpoint, const QString& version);
// The maker's web address that the update notice names.
QString ProductWebAddress();

// A scheduled check runs unless lastCheck holds a date of today's day.
bool ScheduledCheckDue(const QString& lastCheck, const QDateTime& now);
// The scheduling rule against Misc\LastUpdateCheck: false when a scheduled
// check already ran today; otherwise stores now and returns true. A manual
// check always runs and is stored too.
bool ClaimUpdateCheck(bool scheduled, const QDateTime& now = QDateTime::currentDateTime());

} // namespace mainMod
