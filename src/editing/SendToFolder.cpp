#include "editing/SendToFolder.h"

#include "core/Dialogs.h"
#include "core/FileNameCodec.h"
#include "core/PathHelpers.h"
#include "lang/AppLang.h"

#include <sys/stat.h>

namespace SendToFolder {

namespace {

enum Text {
    SubfolderQuestion = 3,
    SendTitle = 4,
    SubfolderPrompt = 5,
    MissingTarget = 6,
    MissingTargetTitle = 7,
    FolderPrompt = 16,
};

bool isFolder(const QString& path) {
    struct stat st {};
    return ::stat(FileNameCodec::encode(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

QString ChooseTarget(const QString& subfolder) {
    Dialogs& dialogs = Dialogs::current();
    QString name = subfolder.trimmed();
    QString prompt = mainMod::LangText(FolderPrompt);
    if (!name.isEmpty()) {
        if (dialogs.MsgBox(mainMod::LangText(SubfolderQuestion, {name}),
                           Dialogs::YesNo | Dialogs::Question,
                           mainMod::LangText(SendTitle)) == Dialogs::Yes)
            prompt = mainMod::LangText(SubfolderPrompt, {name});
        else
            name.clear();
    }
    const QString chosen = dialogs.BrowseForFolder(prompt, QString());
    if (chosen.isEmpty()) return QString();
    QString target = mainMod::NormalizePath(chosen, true);
    if (!name.isEmpty()) {
        target += name + QLatin1Char('/');
        // An existing folder is fine; any other failure shows below.
        ::mkdir(FileNameCodec::encode(target).constData(), 0777);
    }
    if (!isFolder(target)) {
        dialogs.MsgBox(mainMod::LangText(MissingTarget, {target}),
                       Dialogs::OkOnly | Dialogs::Exclamation,
                       mainMod::LangText(MissingTargetTitle));
        return QString();
    }
    return target;
}

QList<QPair<QString, QString>> Pairs(const QString& target, const QStringList& sources) {
    QList<QPair<QString, QString>> pairs;
    for (const QString& source : sources) {
        const QString from = mainMod::LongPath(source);
        pairs.append({from, target + mainMod::FileNameOf(from)});
    }
    return pairs;
}

} // namespace SendToFolder
