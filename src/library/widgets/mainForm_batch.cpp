// The list's "Selected Items" entries that change tags or names of many files:
// Set Artist, Album, Year and Genre, Enum Tracks, and the rename from tags
// (the CDDB look-up of the selection is in mainForm_cddb.cpp).
#include "library/widgets/mainForm.h"

#include "components/MediaLibrary.h"
#include "editing/BatchTags.h"
#include "editing/RenamePlan.h"
#include "editing/widgets/fnameForm.h"
#include "editing/widgets/selForm.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"

#include <QAction>
#include <QItemSelection>

namespace {

// Menu index -> field and tag codes of the entries that offer values.
struct ValueEntry {
    int field;
    int tag;
};
constexpr ValueEntry kValueEntries[] = {
    {FileField::Artist, TagService::Artist},
    {FileField::Album, TagService::Album},
    {FileField::Year, TagService::Year},
};

} // namespace

void mainForm::connectBatchMenus() {
    QList<QAction*>& entries = m_menus.smList2;
    for (int i = 0; i < 3; ++i)
        connect(entries[i], &QAction::triggered, this, [this, i] { batchSetValue(i); });
    connect(entries[3], &QAction::triggered, this, &mainForm::batchSetGenre);
    connect(entries[4], &QAction::triggered, this, &mainForm::batchEnumTracks);
    connect(entries[8], &QAction::triggered, this, &mainForm::batchRename);
    connect(entries[6], &QAction::triggered, this, &mainForm::batchLookUpDisc);
}

QList<qint64> mainForm::listIds(bool selectedOnly) const {
    QList<qint64> ids;
    if (!m_browser || !llist) return ids;
    if (selectedOnly) {
        for (int row : llist->selectedRows())
            ids << m_browser->model().id(row);
    } else {
        for (int row = 0; row < m_browser->model().rowCount(); ++row)
            ids << m_browser->model().id(row);
    }
    return ids;
}

void mainForm::afterBatch(bool rebuildLibrary) {
    // The refill shows the new values; the same files stay selected where the
    // list still shows them, so that another entry can follow on the selection.
    const QList<qint64> selected = listIds(true);
    m_browser->FillList(FileList::LastQuery, ListMode::Keep);
    if (rebuildLibrary) m_browser->MakeTree(TreeSection::Library);
    FileListModel& model = m_browser->model();
    QItemSelection rows;
    for (qint64 id : selected) {
        const int row = model.rowOfKey(QStringLiteral("k") + QString::number(id));
        if (row >= 0) rows.select(model.index(row, 0), model.index(row, model.columnCount() - 1));
    }
    if (llist->selectionModel())
        llist->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
}

void mainForm::batchSetValue(int entry) {
    const QList<qint64> selected = listIds(true);
    if (!m_mediaLib || selected.isEmpty()) return;
    const ValueEntry what = kValueEntries[entry];
    selForm dialog(this);
    FormLang::SetFormLang(&dialog);
    dialog.setWindowTitle(m_menus.smList2[entry]->text().remove(QLatin1Char('&')));
    dialog.setValues(BatchTags::OfferedValues(*m_mediaLib, listIds(false), what.field));
    dialog.exec();
    if (dialog.result() != 1) return;
    BatchTags::SetTag(*m_mediaLib->Tags(), selected, what.tag, dialog.value());
    afterBatch(what.tag == TagService::Artist || what.tag == TagService::Album);
}

void mainForm::batchSetGenre() {
    const QList<qint64> selected = listIds(true);
    if (!m_mediaLib || selected.isEmpty()) return;
    selForm dialog(this);
    FormLang::SetFormLang(&dialog);
    dialog.setWindowTitle(m_menus.smList2[3]->text().remove(QLatin1Char('&')));
    QList<QPair<QString, int>> genres = TagService::GenreList(true);
    // The entry for no genre shows as the genre lists show it.
    for (auto& [name, number] : genres)
        if (number == 255 && name.isEmpty()) {
            name = mainMod::LangText(176);
            if (name.isEmpty()) name = QStringLiteral("(No genre)");
        }
    dialog.setChoices(genres);
    dialog.exec();
    if (dialog.result() != 1) return;
    BatchTags::SetGenre(*m_mediaLib->Tags(), selected, dialog.valueTag().toInt());
    afterBatch(false);
}

void mainForm::batchEnumTracks() {
    const QList<qint64> selected = listIds(true);
    if (!m_mediaLib || selected.isEmpty()) return;
    BatchTags::EnumTracks(*m_mediaLib->Tags(), selected);
    afterBatch(false);
}

void mainForm::batchRename() {
    const QList<qint64> selected = listIds(true);
    if (!m_mediaLib || selected.isEmpty()) return;
    fnameForm dialog(this);
    FormLang::SetFormLang(&dialog);
    dialog.exec();
    if (dialog.result() != 1) return;
    QList<RenamePlan::Step> steps =
        RenamePlan::Plan(dialog.pattern(), RenamePlan::Records(*m_mediaLib, selected));
    RenamePlan::Execute(*m_mediaLib, steps); // files that cannot be renamed stay as they are
    afterBatch(false);
}
