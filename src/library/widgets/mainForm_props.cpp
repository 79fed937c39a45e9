// The properties of the selected list items: the editor for one file, the
// summary for several, and what the window does after an edit.
#include "components/MediaLibrary.h"
#include "editing/SelectionSummary.h"
#include "editing/widgets/propForm.h"
#include "editing/widgets/propMForm.h"
#include "library/LibraryTree.h"
#include "library/NodeKeys.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"

#include <QShortcut>

void mainForm::connectProperties() {
    // Alt+Return opens the properties, as in desktop file managers.
    auto* key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Return), llist);
    key->setContext(Qt::WidgetShortcut);
    connect(key, &QShortcut::activated, this, &mainForm::ShowProperties);
    auto* enter = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Enter), llist);
    enter->setContext(Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, &mainForm::ShowProperties);
}

void mainForm::ShowProperties() {
    if (!m_browser || !m_mediaLib) return;
    const QList<int> rows = llist->selectedRows();
    if (rows.isEmpty()) return;
    FileListItemModel& model = m_browser->model();
    if (rows.size() >= 2) {
        QList<props::SelectedFile> files;
        for (int row : rows)
            files.append({static_cast<qint32>(model.id(row)), model.tag(row)});
        propMForm summary(this);
        summary.setSummary(props::Summarize(*m_mediaLib, files));
        summary.exec();
        return;
    }

    const int row = rows.first();
    const qint32 id = static_cast<qint32>(model.id(row));
    propForm editor(*m_mediaLib, this);
    if (!editor.Load(model.tag(row))) return;
    editor.exec();
    const bool applied = editor.applied();
    const bool artistOrAlbum = editor.artistWritten() || editor.albumWritten();
    if (!applied) return;
    if (!artistOrAlbum) {
        m_browser->FillList(FileList::LastQuery, ListMode::Keep);
        return;
    }
    // The node of the edited artist or album moves: rebuild the library branch
    // and select the node under its new name.
    const QString artist = m_mediaLib->GetFileField(id, FileField::Artist).toString().trimmed();
    const QString album = m_mediaLib->GetFileField(id, FileField::Album).toString().trimmed();
    const TreeTexts& texts = m_browser->texts();
    const QString artistText = artist.isEmpty() ? texts.empty.artist : artist;
    const QString albumText = album.isEmpty() ? texts.empty.album : album;
    QString path;
    const QString selected = tv1->currentItem() ? tv1->keyOf(tv1->currentItem()) : QString();
    const QString prefix = NodeKeys::prefixOf(selected);
    if (prefix == NodeKeys::ArtistPrefix) {
        path = NodeKeys::Library + QLatin1Char('\\') + NodeKeys::artistKey(artistText);
    } else if (prefix == NodeKeys::AlbumPrefix) {
        path = NodeKeys::Library + QLatin1Char('\\') + NodeKeys::artistKey(artistText) +
               QLatin1Char('\\') + NodeKeys::albumKey(artistText, albumText);
    }
    m_browser->MakeTree(TreeSection::Library, path);
}
