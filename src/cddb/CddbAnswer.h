#pragma once
// Parsing of CDDB answers as the transport presents them: the server's text
// wrapped in "<PRE>" ... "</PRE>". Failures are values, each with the
// message the user sees.
#include "cddb/CdInfo.h"

#include <QList>
#include <QString>

class clsWEncode;

namespace cddb {

// Marks a query result whose several matches wait for a choice.
inline const QString SelectMarker = QStringLiteral("%SELECT$");

enum class Failure {
    None,
    NoAnswer,  // empty answer: no connection, time-out or cancelled
    NoMatch,   // the server knows no disc of that id
    BadAnswer, // not wrapped as expected, or an unexpected status code
};

// The message box of a failure: prompt and caption in the current language.
struct FailureMessage {
    QString prompt;
    QString caption;
};
FailureMessage MessageOf(Failure failure);

// One match of a query: the disc (category, disc id, artist, album) and the
// number of the answer line that held it (the status line being line 0).
struct Match {
    CdInfo disc;
    int line = 0;
};

struct QueryAnswer {
    Failure failure = Failure::None;
    // One match: that disc. Several: discId is SelectMarker and matches holds
    // them (at most MaxMatches).
    CdInfo result;
    QList<Match> matches;
    bool several() const { return result.discId == SelectMarker; }
};
inline constexpr int MaxMatches = 98;

QueryAnswer ParseQuery(const QString& answer, const clsWEncode& encoder);
// Year, genre and track titles of a read answer into record.
Failure ParseRead(const QString& answer, CdInfo& record, const clsWEncode& encoder);
// "category discid artist / album" as a record.
CdInfo ParseMatch(const QString& line, const clsWEncode& encoder);

// The command that reads one disc.
QString ReadCommand(const CdInfo& disc);

} // namespace cddb
