// The library tree: building it by branch, keeping the selection, the node
// queries, renaming, drops and the context menu.
#include "library/widgets/LibraryBrowser.h"

#include "components/FileRecord.h"
#include "components/MediaLibrary.h"
#include "core/Dialogs.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "library/NodeKeys.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"

#include <QAction>
#include <QMenu>
#include <QStackedWidget>

LibraryBrowser::LibraryBrowser(mainForm& form, MediaLibrary& library)
    : QObject(&form), m_form(form), m_library(library), m_list(m_model) {
    refreshTexts();
    m_form.llist->setModel(&m_model);
    buildPopAction();
    buildListPop();

    LibraryTreeWidget* tree = m_form.tv1;
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { NodeSelected(current); });
    connect(tree, &LibraryTreeWidget::refreshRequested, this, [this] { MakeTree(); });
    connect(tree, &LibraryTreeWidget::filesDropped, this, &LibraryBrowser::onFilesDropped);
    connect(tree, &LibraryTreeWidget::albumDropped, this, &LibraryBrowser::onAlbumDropped);
    connect(tree, &LibraryTreeWidget::nodeRenamed, this, &LibraryBrowser::onNodeRenamed);
    connect(tree, &LibraryTreeWidget::contextMenuRequested, this, [this](const QPoint& at) {
        if (preparePopAction()) m_popAction->popup(at);
    });
    connect(&m_form, &mainForm::treeRebuildRequested, this,
            [this](int section) { MakeTree(section); });
    connect(&m_form, &mainForm::treeBranchRemoved, this,
            [this](const QString& key) { m_form.tv1->removeNode(key); });
    connect(&m_form, &mainForm::columnsRebuildRequested, this, &LibraryBrowser::BuildColumns);
    connectList();
}

LibraryBrowser::~LibraryBrowser() {
    m_form.llist->setModel(nullptr);
}

QString LibraryBrowser::langText(int number, const QStringList& args) const {
    return mainMod::LangText(number, args);
}

void LibraryBrowser::LanguageChanged() {
    refreshTexts();
    QTreeWidget* tree = m_form.tv1;
    if (tree->topLevelItemCount() == 0) return; // start-up: the tree is built later
    MakeTree(TreeSection::All);
    if (QTreeWidgetItem* item = tree->currentItem()) setStatusDescription(item);
    if (m_list.mode() == ListMode::Search && !m_searchText.isEmpty())
        m_form.setStatusPanel(3, langText(35, {m_searchText}));
    showListStatus();
}

void LibraryBrowser::refreshTexts() {
    if (const clsMUI* lang = mainMod::Lang()) m_texts = LibraryTree::TextsFrom(*lang);
    m_texts.empty = {m_form.EmptyArtistText, m_form.EmptyAlbumText};
    QStringList headers;
    for (int c = 0; c < ListColumns::Count; ++c)
        headers << langText(ListColumns::HeaderTextNumber(c));
    m_model.setHeaderTexts(headers);
}

void LibraryBrowser::MakeTree(int section, const QString& reselectPath) {
    LibraryTreeWidget* tree = m_form.tv1;
    AppSettings& settings = m_form.settings();
    QString path = reselectPath;
    bool wasExpanded = false;
    if (path.isEmpty()) {
        if (QTreeWidgetItem* selected = tree->currentItem()) {
            wasExpanded = selected->isExpanded();
            path = tree->keyPath(selected);
        }
    }
    QSignalBlocker quiet(tree); // selection changes while building run no queries
    if (section == TreeSection::All) tree->clearNodes();
    db::Database& db = m_library.Connection();
    auto rebuild = [tree](const QString& root, const QList<TreeNode>& nodes) {
        tree->removeChildren(root);
        tree->addNodes(nodes);
    };
    if (section == TreeSection::All || section == TreeSection::Library) {
        rebuild(NodeKeys::Library, LibraryTree::LibraryBranch(db, m_texts));
    }
    if ((section == TreeSection::All || section == TreeSection::Filters) && settings.ShowFilters)
        rebuild(NodeKeys::Filters, LibraryTree::FiltersBranch(db, m_texts));
    if ((section == TreeSection::All || section == TreeSection::Ratings) && settings.ShowRatings)
        tree->addNodes(LibraryTree::RatingsBranch(m_texts));
    if ((section == TreeSection::All || section == TreeSection::VirtualFolders) &&
        settings.ShowVFolders) {
        rebuild(NodeKeys::VirtualFolders,
                LibraryTree::VirtualFoldersBranch(*m_library.VirtualFolders(), m_texts));
        RebuildSendToFolders();
    }
    if (section == TreeSection::All || section == TreeSection::AudioCds) {
        const QStringList drives = m_audioCds ? m_audioCds() : QStringList();
        if (!drives.isEmpty()) {
            tree->addNodes(LibraryTree::AudioCdBranch(drives, m_texts));
            for (int i = static_cast<int>(drives.size()) + 1; i <= 100; ++i) {
                if (!tree->node(NodeKeys::audioCdKey(i))) break;
                tree->removeNode(NodeKeys::audioCdKey(i));
            }
        } else {
            if (m_form.listArea->currentWidget() == m_form.acdFrame)
                m_form.listArea->setCurrentWidget(m_form.llist);
            tree->removeNode(NodeKeys::AudioCds);
        }
    }
    if (!settings.ShowFilters) tree->removeNode(NodeKeys::Filters);
    if (!settings.ShowLibrary) tree->removeNode(NodeKeys::Library);
    if (!settings.ShowRatings) tree->removeNode(NodeKeys::Ratings);
    if (!settings.ShowVFolders) tree->removeNode(NodeKeys::VirtualFolders);

    if (path.isEmpty()) return;
    // The deepest key of the path that still exists.
    const QStringList keys = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (qsizetype i = keys.size() - 1; i >= 0; --i) {
        QTreeWidgetItem* item = tree->node(keys.at(i));
        if (!item) continue;
        tree->setCurrentItem(item);
        item->setExpanded(i < keys.size() - 1 ? true : wasExpanded);
        tree->scrollToItem(item);
        quiet.unblock();
        NodeSelected(item);
        return;
    }
}

void LibraryBrowser::setStatusDescription(QTreeWidgetItem* item) {
    const QString key = m_form.tv1->keyOf(item);
    const QString parentText = item->parent() ? item->parent()->text(0) : QString();
    m_form.setStatusPanel(3, QStringLiteral(" ") +
                                 LibraryTree::Description(key, item->text(0), parentText,
                                                          [this](int n, const QStringList& a) {
                                                              return langText(n, a);
                                                          }));
}

void LibraryBrowser::NodeSelected(QTreeWidgetItem* item) {
    if (!item) return;
    const QString key = m_form.tv1->keyOf(item);
    const QString prefix = NodeKeys::prefixOf(key);
    if (m_form.listArea->currentWidget() == m_form.acdFrame && prefix != NodeKeys::AudioCdPrefix) {
        m_form.listArea->setCurrentWidget(m_form.llist);
        m_form.menus().mnuList->setEnabled(true);
    }
    const NodeQuery q = BuildNodeQuery(key, m_form.tv1->tagOf(item), m_texts.empty);
    emit virtualFolderEntriesShown(q.virtualFolderEntries);
    if (q.audioCd > 0) {
        m_form.ShowCD(q.audioCd); // before the switch: it tells a new selection from a reselection
        m_form.listArea->setCurrentWidget(m_form.acdFrame);
        m_form.menus().mnuList->setEnabled(false);
    }
    // The tree's tag: the text of the node's top-level ancestor.
    QTreeWidgetItem* top = item;
    while (top->parent())
        top = top->parent();
    m_form.tv1->setProperty("tag", top->text(0));
    if (!q.sql.isEmpty()) FillList(q.sql, q.mode);
    setStatusDescription(item);
}

void LibraryBrowser::buildPopAction() {
    m_popAction = new QMenu(&m_form);
    m_popAction->setObjectName(QStringLiteral("popAction"));
    const QString texts[] = {QStringLiteral("New"),
                             QStringLiteral("Edit"),
                             QString(),
                             QStringLiteral("Rename"),
                             QStringLiteral("Delete"),
                             QString(),
                             QStringLiteral("Send To Folder/Disk")};
    for (int i = 0; i < 7; ++i) {
        QAction* a =
            texts[i].isEmpty() ? m_popAction->addSeparator() : m_popAction->addAction(texts[i]);
        a->setObjectName(QStringLiteral("popAction"));
        a->setProperty("index", i);
    }
    // Send To belongs to the copy commands.
    m_popAction->actions().at(6)->setEnabled(false);
    connectFilterActions();
    connectFolderActions();
    connect(m_popAction->actions().at(3), &QAction::triggered, this,
            [this] { editWhenMenuClosed(m_form.tv1->selectedKey()); });
}

bool LibraryBrowser::preparePopAction() {
    const QString prefix = NodeKeys::prefixOf(m_form.tv1->selectedKey());
    auto among = [&prefix](std::initializer_list<const QString*> prefixes) {
        for (const QString* p : prefixes)
            if (prefix == *p) return true;
        return false;
    };
    using namespace NodeKeys;
    const bool newEntry = among({&VirtualFolders, &Filters});
    const bool edit = among({&FilterPrefix});
    const bool rename = among({&VirtualFolderPrefix, &FilterPrefix, &ArtistPrefix, &AlbumPrefix});
    const bool remove = among({&VirtualFolderPrefix, &FilterPrefix});
    const bool sendTo =
        among({&VirtualFolderPrefix, &FilterPrefix, &ArtistPrefix, &AlbumPrefix, &RatingPrefix});
    const QList<QAction*> a = m_popAction->actions();
    a[0]->setVisible(newEntry);
    a[1]->setVisible(edit);
    a[2]->setVisible((newEntry || edit) && (rename || remove));
    a[3]->setVisible(rename);
    a[3]->setEnabled(prefix != FilterPrefix); // filters are renamed in the filter editor
    a[4]->setVisible(remove);
    a[0]->setEnabled(prefix == Filters || prefix == VirtualFolders);
    a[4]->setEnabled(prefix == FilterPrefix || prefix == VirtualFolderPrefix);
    a[5]->setVisible(rename);
    a[6]->setVisible(sendTo);
    return newEntry || edit || rename || remove || sendTo;
}

void LibraryBrowser::RebuildSendToFolders() {
    QList<QPair<qint32, QString>> folders;
    const VirtualFolderStore& store = *m_library.VirtualFolders();
    if (m_form.settings().ShowVFolders) {
        const qint32 count = store.FolderCount();
        for (qint32 i = 1; i <= count; ++i)
            folders.append({store.FolderIdAt(i), store.FolderNameAt(i)});
    }
    emit sendToFoldersChanged(folders);
}

QString LibraryBrowser::tagValue(const QString& text, const QString& emptyText) const {
    return text == emptyText ? QString() : text;
}

void LibraryBrowser::onFilesDropped(const QString& targetKey, const QStringList& fileKeys) {
    const QString prefix = NodeKeys::prefixOf(targetKey);
    bool artistOrAlbumChanged = false;
    for (const QString& fileKey : fileKeys) {
        const qint32 id = fileKey.mid(1).toInt();
        if (id <= 0) continue;
        if (prefix == NodeKeys::VirtualFolderPrefix) {
            VirtualFolderStore& folders = *m_library.VirtualFolders();
            const qint32 folder = NodeKeys::idOf(targetKey).toInt();
            if (!folders.SelectFolder(folder)) break;
            folders.AddFile(id, folder);
        } else if (prefix == NodeKeys::RatingPrefix) {
            m_library.SetFileField(id, FileField::Rating, targetKey.right(1).toInt());
        } else if (prefix == NodeKeys::ArtistPrefix) {
            m_library.Tags()->WriteTag(QString::number(id), TagService::Artist,
                                       tagValue(NodeKeys::idOf(targetKey), m_texts.empty.artist));
            artistOrAlbumChanged = true;
        } else if (prefix == NodeKeys::AlbumPrefix) {
            QString artist, album;
            NodeKeys::splitAlbumKey(targetKey, artist, album);
            m_library.Tags()->WriteTag(QString::number(id), TagService::Artist,
                                       tagValue(artist, m_texts.empty.artist));
            m_library.Tags()->WriteTag(QString::number(id), TagService::Album,
                                       tagValue(album, m_texts.empty.album));
            artistOrAlbumChanged = true;
        }
    }
    FillList(FileList::LastQuery, ListMode::Keep);
    if (artistOrAlbumChanged) MakeTree(TreeSection::Library);
}

void LibraryBrowser::onAlbumDropped(const QString& albumKey, const QString& artistKey) {
    QString oldArtist, album;
    NodeKeys::splitAlbumKey(albumKey, oldArtist, album);
    const QString newArtist = NodeKeys::idOf(artistKey);
    if (newArtist == oldArtist) return;
    int failed = 0;
    const int changed = m_library.Tags()->ChangeArtist(
        tagValue(oldArtist, m_texts.empty.artist), tagValue(newArtist, m_texts.empty.artist),
        tagValue(album, m_texts.empty.album), true, &failed);
    if (changed < 0) return;
    if (failed > 0) {
        // Some files keep the old artist: the branch shows where each one is now.
        reportUnwritten(failed);
        MakeTree(TreeSection::Library);
        return;
    }
    LibraryTreeWidget* tree = m_form.tv1;
    QTreeWidgetItem* dragged = tree->node(albumKey);
    QTreeWidgetItem* target = tree->node(artistKey);
    if (!dragged || !target) return;
    const QString movedKey = NodeKeys::albumKey(newArtist, album);
    QTreeWidgetItem* oldArtistNode = dragged->parent();
    if (tree->node(movedKey)) {
        tree->removeNode(albumKey); // the new artist has that album already
    } else {
        oldArtistNode->takeChild(oldArtistNode->indexOfChild(dragged));
        tree->rekey(dragged, movedKey, dragged->text(0));
        target->addChild(dragged);
        tree->sortChildren(artistKey);
        tree->setCurrentItem(dragged);
    }
    if (oldArtistNode && oldArtistNode->childCount() == 0)
        tree->removeNode(tree->keyOf(oldArtistNode));
}

void LibraryBrowser::reportUnwritten(int failed) {
    Dialogs::current().MsgBox(langText(909, {QString::number(failed)}),
                              Dialogs::OkOnly | Dialogs::Exclamation, langText(910));
}

void LibraryBrowser::onNodeRenamed(const QString& key, const QString& oldText,
                                   const QString& newText) {
    LibraryTreeWidget* tree = m_form.tv1;
    QTreeWidgetItem* item = tree->node(key);
    if (!item) return;
    const QString prefix = NodeKeys::prefixOf(key);
    if (prefix == NodeKeys::VirtualFolderPrefix) {
        VirtualFolderStore& folders = *m_library.VirtualFolders();
        if (folders.SelectFolder(NodeKeys::idOf(key).toInt()) && folders.RenameCurrent(newText)) {
            // The name as the store keeps it, not as typed.
            tree->rekey(item, key, folders.CurrentName());
            tree->sortChildren(NodeKeys::VirtualFolders);
            if (tree->currentItem() == item) setStatusDescription(item);
            RebuildSendToFolders();
        }
        return;
    }
    if (newText == oldText) return;
    QString newKey;
    int failed = 0;
    if (prefix == NodeKeys::ArtistPrefix) {
        if (m_library.Tags()->ChangeArtist(tagValue(oldText, m_texts.empty.artist), newText,
                                           std::nullopt, true, &failed) < 0)
            return;
        newKey = NodeKeys::artistKey(newText.isEmpty() ? m_texts.empty.artist : newText);
    } else if (prefix == NodeKeys::AlbumPrefix) {
        QString artist, album;
        NodeKeys::splitAlbumKey(key, artist, album);
        if (m_library.Tags()->ChangeAlbum(tagValue(oldText, m_texts.empty.album), newText,
                                          tagValue(artist, m_texts.empty.artist), true,
                                          &failed) < 0)
            return;
        newKey = NodeKeys::albumKey(artist, newText.isEmpty() ? m_texts.empty.album : newText);
    } else {
        return;
    }
    if (failed > 0) reportUnwritten(failed);
    // Keys below the node carry the old text too: the branch is rebuilt and the
    // renamed node selected again.
    QString path = NodeKeys::Library;
    if (prefix == NodeKeys::AlbumPrefix) path += QLatin1Char('\\') + tree->keyOf(item->parent());
    path += QLatin1Char('\\') + newKey;
    MakeTree(TreeSection::Library, path);
}
