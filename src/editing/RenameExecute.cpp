// Carrying out a rename plan on disk and in the library.
#include "editing/FileMove.h"
#include "editing/RenamePlan.h"

#include "components/FileRows.h"
#include "components/MediaLibrary.h"
#include "core/Database.h"
#include "core/FileNameCodec.h"
#include "core/PathHelpers.h"

namespace RenamePlan {

namespace {

// The row's file fields for the new name, in the order the library expects.
bool updateRow(MediaLibrary& library, qint32 id, const QString& newPath) {
    FileFacts facts;
    if (!StatFile(newPath.toUtf8(), facts)) return false;
    const QString name = mainMod::FileNameOf(newPath);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    db::Transaction transaction(library.Connection());
    if (!transaction.ok()) return false;
    const bool written =
        library.SetFileField(id, FileField::FullPath, newPath) &&
        library.SetFileField(id, FileField::FileDate, facts.fileDate) &&
        library.SetFileField(id, FileField::Size, facts.size) &&
        library.SetFileField(id, FileField::FileName, name) &&
        library.SetFileField(id, FileField::FileTitle, dot < 0 ? name : name.left(dot));
    return written && transaction.commit().ok();
}

void execute(MediaLibrary& library, Step& step) {
    if (!step.problem.isEmpty() || step.done) return;
    if (library.IsReadOnly()) {
        step.problem = QStringLiteral("the library is read-only");
        return;
    }
    if (step.newPath == step.oldPath) {
        step.done = true;
        return;
    }
    const QByteArray from = FileNameCodec::encode(step.oldPath);
    const QByteArray to = FileNameCodec::encode(step.newPath);
    if (FileMove::IsLocked(from)) {
        step.problem = QStringLiteral("the file is in use");
        return;
    }
    if (Status moved = FileMove::RenameNoReplace(from, to); !moved) {
        step.problem = moved.error();
        return;
    }
    if (updateRow(library, static_cast<qint32>(step.id), step.newPath)) {
        step.done = true;
        return;
    }
    // File and row must agree: the file goes back to the name its row holds.
    if (FileMove::RenameNoReplace(to, from))
        step.problem = QStringLiteral("the library row could not be updated");
    else
        step.problem = QStringLiteral("the library row could not be updated, and the file keeps "
                                      "its new name");
}

} // namespace

void Execute(MediaLibrary& library, QList<Step>& steps) {
    for (Step& step : steps)
        execute(library, step);
}

} // namespace RenamePlan
