// The file list and the quick search of the library browser.
#include "library/widgets/LibraryBrowser.h"

#include "components/FileRecord.h"
#include "components/MediaLibrary.h"
#include "components/PlayableFile.h"
#include "core/Dialogs.h"
#include "core/Shell.h"
#include "core/widgets/WindowHelpers.h"
#include "library/QuickSearch.h"
#include "library/widgets/mainForm.h"
#include "util/widgets/Popups.h"

#include <QAction>
#include <QDateTime>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

void LibraryBrowser::connectList() {
    FileListView* view = m_form.llist;
    connect(view->header(), &QHeaderView::sectionClicked, this, &LibraryBrowser::headerClicked);
    connect(view, &FileListView::refreshRequested, this,
            [this] { FillList(FileList::LastQuery, ListMode::Keep); });
    connect(view, &FileListView::playRequested, this, &LibraryBrowser::playRow);
    MainMenus& menus = m_form.menus();
    menus.mnuSelectAll->setEnabled(true);
    menus.mnuInvertSelection->setEnabled(true);
    connect(menus.mnuSelectAll, &QAction::triggered, view, &FileListView::selectAllRows);
    connect(menus.mnuInvertSelection, &QAction::triggered, view, &FileListView::invertSelection);
    connect(m_form.sBut, &QPushButton::clicked, this, &LibraryBrowser::RunSearch);
    connect(m_form.sText, &QLineEdit::returnPressed, this, &LibraryBrowser::RunSearch);
}

FileList::Outcome LibraryBrowser::FillList(const QString& query, int mode) {
    const FileList::Outcome outcome = m_list.FillList(m_library.Connection(), query, mode);
    m_form.llist->setProperty("tag", m_list.lastQuery());
    m_lastOutcome = outcome;
    showListStatus();
    if (!outcome.error.isEmpty()) m_form.setStatusPanel(2, outcome.error);
    return outcome;
}

void LibraryBrowser::showListStatus() {
    const auto texts = FileList::StatusTexts(
        m_lastOutcome, [this](int n, const QStringList& a) { return langText(n, a); });
    m_form.setStatusPanel(4, texts.first);
    m_form.setStatusPanel(5, texts.second);
}

void LibraryBrowser::BuildColumns() {
    const AppSettings& settings = m_form.settings();
    QList<int> columns;
    for (int c = 0; c < ListColumns::Count; ++c)
        if (settings.Columns[c].Show || c == 0) columns << c;
    m_model.setColumns(columns);
    QHeaderView* header = m_form.llist->header();
    for (int section = 0; section < columns.size(); ++section) {
        header->resizeSection(section,
                              m_form.toPixels(settings.Columns[columns.at(section)].Width));
        header->setSectionResizeMode(section, QHeaderView::Interactive);
    }
}

void LibraryBrowser::CaptureColumnWidths() {
    AppSettings& settings = m_form.settings();
    const QList<int>& columns = m_model.columns();
    QHeaderView* header = m_form.llist->header();
    for (int section = 0; section < columns.size() && section < header->count(); ++section)
        settings.Columns[columns.at(section)].Width = m_form.toTwips(header->sectionSize(section));
}

void LibraryBrowser::ClearSortIcons() {
    m_model.ClearSortIcons();
}

void LibraryBrowser::headerClicked(int section) {
    Qt::SortOrder order = m_model.sortOrder();
    if (m_model.sortSection() == section) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        ClearSortIcons();
    }
    m_model.sortBySection(section, order);
}

void LibraryBrowser::playRow(int row) {
    const qint64 id = m_model.id(row);
    const QString path = m_model.tag(row);
    if (path.isEmpty()) return;
    // Whatever the row says, the file on disk may be anything by now; only audio
    // of the promised type goes to a player.
    if (!PlayableFile::Check(path).ok()) {
        Dialogs::current().MsgBox(langText(900, {path}), Dialogs::OkOnly | Dialogs::Exclamation,
                                  langText(901));
        return;
    }
    if (m_form.settings().MPDefaultPlayer) {
        const QString title =
            m_library.GetFileField(static_cast<qint32>(id), FileField::Title).toString().trimmed();
        m_form.PlayWithMicroPlayer(path, title, 0);
    } else if (!Shell::current().OpenDocument(path)) {
        return;
    }
    const QVariant count = m_library.GetFileField(static_cast<qint32>(id), FileField::PlayCount);
    m_library.SetFileField(static_cast<qint32>(id), FileField::PlayCount, count.toInt() + 1);
    m_library.SetFileField(static_cast<qint32>(id), FileField::LastPlayed,
                           QDateTime::currentDateTime());
}

void LibraryBrowser::RunSearch() {
    const QString text = m_form.sText->text().trimmed();
    if (!QuickSearch::IsLongEnough(text)) {
        Dialogs::current().MsgBox(langText(31), Dialogs::OkOnly | Dialogs::Exclamation,
                                  langText(32));
        return;
    }
    const FileList::Outcome outcome = FillList(QuickSearch::ListQuery(text), ListMode::Search);
    mainMod::ShowPopup(langText(33, {QString::number(outcome.count)}), 64, langText(34), 10);
    m_searchText = text;
    m_form.setStatusPanel(3, langText(35, {text}));
    mainMod::SelectAllText(m_form.sText);
}
