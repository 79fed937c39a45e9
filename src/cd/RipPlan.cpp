#include "cd/RipPlan.h"

#include "core/PathHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace cd {

namespace {

// A disc's data is not a path: "AC/DC" must not make a folder "AC", and an
// artist ".." must not climb out of the output folder.
QString NamePart(const QString& text) {
    QString part = text;
    part.replace(QLatin1Char('/'), QLatin1Char('-'));
    part.remove(QChar(0));
    if (!part.isEmpty() && part.count(QLatin1Char('.')) == part.size()) part.fill(QLatin1Char('_'));
    return part;
}

} // namespace

QString RaisePatternTags(const QString& pattern) {
    QString raised = pattern;
    for (const QChar tag : {u'n', u't', u'a', u'b', u'y'})
        raised.replace(QStringLiteral("%") + tag, QStringLiteral("%") + tag.toUpper());
    return raised;
}

QString RipExtension(int format) {
    static const char* const extensions[] = {".mp3", ".wma", ".wav"};
    return QLatin1String(extensions[format >= RipMp3 && format <= RipWav ? format : RipMp3]);
}

QString RipFolder(const QString& folder, bool subfolder, const QString& artist,
                  const QString& album) {
    QString result = mainMod::NormalizePath(folder, true);
    if (!subfolder) return result;
    const QString a = artist.trimmed();
    const QString b = album.trimmed();
    QString sub;
    if (!a.isEmpty())
        sub = b.isEmpty() ? a : a + QStringLiteral(" - ") + b;
    else
        sub = b;
    sub = NamePart(sub);
    return sub.isEmpty() ? result : result + sub + QLatin1Char('/');
}

QString RipFileName(const RipPlanInput& input, const RipPlanTrack& track) {
    QString name = RaisePatternTags(input.pattern);
    // One pass over the pattern, so that a title holding "%A" stays as it is.
    QString filled;
    for (int i = 0; i < name.size(); ++i) {
        if (name.at(i) == u'%' && i + 1 < name.size()) {
            const QChar tag = name.at(i + 1);
            bool known = true;
            if (tag == u'N')
                filled += QStringLiteral("%1").arg(track.number, 2, 10, QLatin1Char('0'));
            else if (tag == u'T')
                filled += track.title;
            else if (tag == u'A')
                filled += input.artist;
            else if (tag == u'B')
                filled += input.album;
            else if (tag == u'Y')
                filled += input.year;
            else
                known = false;
            if (known) {
                ++i;
                continue;
            }
        }
        filled += name.at(i);
    }
    // The pattern names a file: a "/" in it, typed or from a tag, is kept in the name.
    filled = NamePart(filled);
    const QString extension = RipExtension(input.format);
    if (filled.right(4).toLower() != extension) filled += extension;
    return filled;
}

QList<RipTarget> BuildRipPlan(const RipPlanInput& input) {
    QList<RipTarget> plan;
    const QString folder = RipFolder(input.folder, input.subfolder, input.artist, input.album);
    const bool folderExists = QFileInfo(folder).isDir();
    QHash<QString, int> seen; // lower-case name -> first entry
    for (const RipPlanTrack& track : input.tracks) {
        RipTarget target;
        target.number = track.number;
        target.title = track.title;
        target.name = RipFileName(input, track);
        target.folder = folder;
        const QFileInfo present(target.path());
        if (folderExists && (present.exists() || present.isSymLink()))
            target.check = RipTarget::Exists;
        const QString key = target.name.toLower();
        if (seen.contains(key)) {
            target.check = RipTarget::SameName;
            RipTarget& first = plan[seen.value(key)];
            if (first.check == RipTarget::Ready) first.check = RipTarget::SameName;
        } else {
            seen.insert(key, plan.size());
        }
        if (target.name.chopped(RipExtension(input.format).size()).trimmed().isEmpty())
            target.check = RipTarget::NoName;
        plan << target;
    }
    return plan;
}

bool RipPlanUsable(const QList<RipTarget>& plan) {
    for (const RipTarget& target : plan)
        if (target.check != RipTarget::Ready) return false;
    return !plan.isEmpty();
}

} // namespace cd
