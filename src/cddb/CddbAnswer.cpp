#include "cddb/CddbAnswer.h"

#include "lang/AppLang.h"
#include "util/clsWEncode.h"

#include <QStringList>

namespace cddb {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The text inside the <PRE> block, or a failure.
Failure unwrap(const QString& answer, QString& inner) {
    const QString trimmed = answer.trimmed();
    if (trimmed.isEmpty()) return Failure::NoAnswer;
    const QString upper = trimmed.toUpper();
    if (!upper.startsWith(QLatin1String("<PRE>")) || !upper.endsWith(QLatin1String("</PRE>")) ||
        trimmed.size() < 11)
        return Failure::BadAnswer;
    inner = trimmed.mid(5, trimmed.size() - 11);
    return Failure::None;
}

QString statusOf(const QString& inner) {
    return inner.section(QLatin1Char(' '), 0, 0);
}

QString text(int number, const char* fallback) {
    const QString t = mainMod::LangText(number);
    return t.isEmpty() ? QString::fromLatin1(fallback) : t;
}

} // namespace

FailureMessage MessageOf(Failure failure) {
    const QString head = text(84, "The album information could not be retrieved.") + kCrLf;
    switch (failure) {
    case Failure::None:
        return {};
    case Failure::NoAnswer:
        return {head +
                    text(85, "The CDDB server could not be reached, or the lookup was cancelled."),
                text(86, "Connection Failed")};
    case Failure::NoMatch:
        return {head + text(87, "No matching disc was found"),
                text(87, "No matching disc was found")};
    case Failure::BadAnswer:
        break;
    }
    return {head + text(88, "The server sent an answer that could not be read."),
            text(89, "Invalid Answer")};
}

CdInfo ParseMatch(const QString& line, const clsWEncode& encoder) {
    QString rest = encoder.ksHTML2Text(line).remove(kCrLf);
    CdInfo disc;
    qsizetype blank = rest.indexOf(QLatin1Char(' '));
    disc.category = (blank < 0 ? rest : rest.left(blank)).trimmed();
    rest = blank < 0 ? QString() : rest.mid(blank + 1);
    blank = rest.indexOf(QLatin1Char(' '));
    disc.discId = (blank < 0 ? rest : rest.left(blank)).trimmed();
    rest = blank < 0 ? QString() : rest.mid(blank + 1);
    const qsizetype slash = rest.indexOf(QLatin1String(" / "));
    if (slash >= 0) {
        disc.artist = rest.left(slash).trimmed();
        disc.album = rest.mid(slash + 3).trimmed();
    } else {
        disc.album = rest.trimmed(); // no artist named: the whole title is the album
    }
    return disc;
}

QueryAnswer ParseQuery(const QString& answer, const clsWEncode& encoder) {
    QueryAnswer out;
    QString inner;
    if ((out.failure = unwrap(answer, inner)) != Failure::None) return out;
    const QString code = statusOf(inner);
    if (code == QLatin1String("200")) {
        out.result = ParseMatch(inner.mid(4), encoder);
        return out;
    }
    if (code == QLatin1String("211")) {
        const QStringList lines = inner.split(kCrLf);
        int count = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QString& line = lines.at(i);
            if (line.isEmpty()) continue;
            if (line == QLatin1String(".")) break;
            if (++count > MaxMatches) break;
            out.matches.append({ParseMatch(line, encoder), static_cast<int>(i)});
        }
        out.result.discId = SelectMarker;
        return out;
    }
    out.failure = code == QLatin1String("202") ? Failure::NoMatch : Failure::BadAnswer;
    return out;
}

Failure ParseRead(const QString& answer, CdInfo& record, const clsWEncode& encoder) {
    QString inner;
    if (Failure f = unwrap(answer, inner); f != Failure::None) return f;
    if (statusOf(inner) != QLatin1String("210")) return Failure::BadAnswer;
    const QStringList lines = encoder.ksHTML2Text(inner).split(kCrLf);
    record.trackCount = 0;
    record.tracks = {};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.isEmpty()) continue;
        if (line == QLatin1String(".")) break;
        const QString upper = line.toUpper();
        if (upper.startsWith(QLatin1String("TTITLE"))) {
            for (int n = 0; n < CdInfo::MaxTracks; ++n) {
                const QString prefix = QStringLiteral("TTITLE%1=").arg(n);
                if (!upper.startsWith(prefix)) continue;
                CdTrackTitle& track = record.tracks[n];
                const QString title = line.mid(line.indexOf(QLatin1Char('=')) + 1);
                if (track.number == n + 1) {
                    track.title += title; // a long title goes on in the next line
                } else {
                    track.title = title;
                    track.number = static_cast<quint8>(n + 1);
                    ++record.trackCount;
                }
                break;
            }
        } else if (upper.startsWith(QLatin1String("DYEAR="))) {
            record.year = line.mid(6).trimmed().left(4);
        } else if (upper.startsWith(QLatin1String("DGENRE="))) {
            record.genre = line.mid(7).trimmed();
        }
    }
    return Failure::None;
}

QString ReadCommand(const CdInfo& disc) {
    return QStringLiteral("cddb read ") + disc.category + QLatin1Char(' ') + disc.discId;
}

} // namespace cddb
