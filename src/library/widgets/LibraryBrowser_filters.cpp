// The tree's context-menu commands for smart filters: New and Edit open the
// filter editor, Delete asks first; each rebuilds the filters branch.
#include "components/MediaLibrary.h"
#include "core/Dialogs.h"
#include "core/Formatting.h"
#include "filters/FilterStore.h"
#include "filters/widgets/filterForm.h"
#include "library/NodeKeys.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"

#include <QAction>
#include <QMenu>

namespace {

// The saved filter of the selected node; 0 for the most-played node and other nodes.
qint32 selectedFilterId(const QString& key) {
    if (NodeKeys::prefixOf(key) != NodeKeys::FilterPrefix) return 0;
    return NodeKeys::idOf(key).toInt();
}

} // namespace

void LibraryBrowser::connectFilterActions() {
    const QList<QAction*> a = m_popAction->actions();
    connect(a[0], &QAction::triggered, this, [this] {
        if (NodeKeys::prefixOf(m_form.tv1->selectedKey()) == NodeKeys::Filters) editFilter(0);
    });
    // The most-played node is no saved filter: Edit there starts a new one.
    connect(a[1], &QAction::triggered, this,
            [this] { editFilter(selectedFilterId(m_form.tv1->selectedKey())); });
    connect(a[4], &QAction::triggered, this, [this] {
        if (const qint32 id = selectedFilterId(m_form.tv1->selectedKey())) deleteFilter(id);
    });
}

void LibraryBrowser::editFilter(qint32 id) {
    filterForm editor(m_library.Connection(), &m_form);
    if (id > 0) editor.loadFilter(id);
    editor.exec();
    if (editor.saved())
        MakeTree(TreeSection::Filters, NodeKeys::Filters + QLatin1Char('\\') +
                                           NodeKeys::FilterPrefix +
                                           QString::number(editor.filterId()));
}

void LibraryBrowser::deleteFilter(qint32 id) {
    Result<std::optional<filters::FilterRecord>> found =
        filters::FindFilter(m_library.Connection(), id);
    if (!found || !*found) return;
    if (Dialogs::current().MsgBox(langText(166, {mainMod::QuoteText((*found)->name)}),
                                  Dialogs::YesNo | Dialogs::Question,
                                  langText(167)) != Dialogs::Yes)
        return;
    filters::DeleteFilter(m_library.Connection(), id);
    MakeTree(TreeSection::Filters, NodeKeys::Filters);
}
