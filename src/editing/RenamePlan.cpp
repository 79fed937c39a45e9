#include "editing/RenamePlan.h"

#include "components/FileRows.h"
#include "components/MediaLibrary.h"
#include "core/Database.h"
#include "core/FileNameCodec.h"
#include "core/PathHelpers.h"
#include "core/Settings.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

#include <sys/stat.h>

namespace RenamePlan {

namespace {

const QString kTags[] = {QStringLiteral("%N"), QStringLiteral("%T"), QStringLiteral("%A"),
                         QStringLiteral("%B"), QStringLiteral("%Y")};

QString folderOf(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

bool HasTag(const QString& pattern) {
    for (const QString& tag : kTags)
        if (pattern.contains(tag)) return true;
    return false;
}

QString TrackText(const QString& track) {
    const double value = mainMod::NumberOr(track, std::numeric_limits<double>::quiet_NaN());
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) return track;
    // Whole numbers as "00" shows them: rounded half away from zero.
    const qint64 n = std::llround(value);
    const QString digits = QString::number(n < 0 ? -n : n).rightJustified(2, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

QString BuildName(const QString& pattern, const FileRecord& record) {
    // One tag after the other, so a value holding a later tag is replaced too.
    QString name = pattern;
    name.replace(kTags[0], TrackText(record.track));
    name.replace(kTags[1], record.title);
    name.replace(kTags[2], record.artist);
    name.replace(kTags[3], record.album);
    name.replace(kTags[4], record.year);
    const qsizetype dot = record.fullPath.lastIndexOf(QLatin1Char('.'));
    QString ext = dot < 0 ? QString() : record.fullPath.mid(dot);
    if (!ext.isEmpty() && name.endsWith(ext, Qt::CaseInsensitive)) ext.clear();
    return name + ext;
}

QString NameProblem(const QString& name) {
    if (name.contains(QLatin1Char('/'))) return QStringLiteral("the name would hold a \"/\"");
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("the name would be empty");
    if (!mainMod::IsValidFileName(name))
        return QStringLiteral("the name would hold a character that file names may not contain");
    return QString();
}

QList<Step> Plan(const QString& pattern, const QList<FileRecord>& records) {
    QList<Step> steps;
    steps.reserve(records.size());
    for (const FileRecord& record : records) {
        Step step;
        step.id = record.id;
        step.oldPath = record.fullPath;
        if (record.fullPath.isEmpty()) {
            step.problem = QStringLiteral("no library file has the id %1").arg(record.id);
        } else {
            const QString name = BuildName(pattern, record);
            step.problem = NameProblem(name);
            if (step.problem.isEmpty()) step.newPath = folderOf(record.fullPath) + name;
        }
        steps << step;
    }
    return steps;
}

QList<FileRecord> Records(MediaLibrary& library, const QList<qint64>& ids) {
    QList<FileRecord> records;
    records.reserve(ids.size());
    for (qint64 id : ids) {
        FileRecord record;
        if (id <= 0 || id > std::numeric_limits<qint32>::max() ||
            !library.GetFileRecord(static_cast<qint32>(id), record)) {
            record = FileRecord();
            record.id =
                static_cast<qint32>(std::clamp<qint64>(id, 0, std::numeric_limits<qint32>::max()));
        }
        records << record;
    }
    return records;
}

bool PathExists(const QString& path) {
    struct stat st {};
    return ::lstat(FileNameCodec::encode(path).constData(), &st) == 0;
}

void Preview(QList<Step>& steps, const std::function<bool(const QString&)>& exists) {
    QSet<QString> taken, freed;
    for (Step& step : steps) {
        if (!step.problem.isEmpty() || step.newPath == step.oldPath) continue;
        const bool occupied =
            taken.contains(step.newPath) || (!freed.contains(step.newPath) && exists(step.newPath));
        if (occupied) {
            step.problem = QStringLiteral("a file of that name exists");
            continue;
        }
        taken.remove(step.oldPath);
        freed.insert(step.oldPath);
        taken.insert(step.newPath);
        freed.remove(step.newPath);
    }
}

} // namespace RenamePlan
