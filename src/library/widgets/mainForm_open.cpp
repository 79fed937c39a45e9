// Files opened with the program from the desktop ("Open with", a double-click
// in a file manager): a folder joins the library only when the user says so;
// otherwise the files are shown in the properties windows.
#include "components/FileRecord.h"
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/Dialogs.h"
#include "editing/SelectionSummary.h"
#include "editing/widgets/propForm.h"
#include "editing/widgets/propMForm.h"
#include "lang/Mui.h"
#include "library/OpenedFiles.h"
#include "library/widgets/mainForm.h"

#include <QFileInfo>

void mainForm::OpenFiles(const QStringList& arguments) {
    if (!m_mediaLib || !m_lang) return;
    const OpenedFiles files = SortOpenedFiles(*m_mediaLib, arguments);
    QStringList declined;
    bool added = false;
    for (const QString& folder : files.folders) {
        const Dialogs::Answer answer = Dialogs::current().MsgBox(
            m_lang->Text(925, {folder}), Dialogs::YesNo | Dialogs::Question, mainMod::AppName());
        if (answer == Dialogs::Yes && m_mediaLib->MediaFolders()->Add(folder))
            added = true;
        else
            declined << folder;
    }
    QStringList shown = files.known;
    for (const QString& file : files.outside)
        if (declined.contains(QFileInfo(file).path())) shown << file;
    if (added) RefreshLibraryContents(false);
    showOpenedFiles(shown);
}

void mainForm::showOpenedFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    if (paths.size() == 1) {
        propForm editor(*m_mediaLib, this);
        if (editor.Load(paths.first())) editor.exec();
        return;
    }
    QList<props::SelectedFile> selected;
    for (const QString& path : paths) {
        FileRecord record;
        m_mediaLib->GetFileRecord(path, record);
        selected.append({qMax<qint32>(record.id, 0), path});
    }
    propMForm summary(this);
    summary.setSummary(props::Summarize(*m_mediaLib, selected));
    summary.exec();
}
