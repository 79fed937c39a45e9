#include "library/widgets/ListPopMenu.h"

#include "lang/widgets/FormLang.h"

#include <QAction>
#include <QMetaMethod>

namespace {

QAction* named(QAction* a, const char* name, int index = -1) {
    a->setObjectName(QLatin1String(name));
    if (index >= 0) a->setProperty("index", index);
    return a;
}

} // namespace

ListPopMenu::ListPopMenu(QWidget* form) : QMenu(form) {
    setObjectName(QStringLiteral("mnuLPop"));
    const QString texts[EntryCount] = {QStringLiteral("Play"),
                                       QString(),
                                       QStringLiteral("Play in Winamp"),
                                       QStringLiteral("Enqueue inWinamp"),
                                       QString(),
                                       QStringLiteral("Send to"),
                                       QString(),
                                       QStringLiteral("Delete"),
                                       QString(),
                                       QStringLiteral("Copy"),
                                       QStringLiteral("Browse Folder"),
                                       QString(),
                                       QStringLiteral("Move Up"),
                                       QStringLiteral("Move Down"),
                                       QString(),
                                       QStringLiteral("Properties")};
    for (int i = 0; i < EntryCount; ++i) {
        if (i == SendTo) {
            m_sendTo = addMenu(texts[i]);
            m_sendTo->setObjectName(QStringLiteral("mLPop"));
            m_sendTo->setProperty("index", i);
            m_entries << m_sendTo->menuAction();
            continue;
        }
        m_entries << named(texts[i].isEmpty() ? addSeparator() : addAction(texts[i]), "mLPop", i);
    }
    m_convert = named(m_sendTo->addAction(QStringLiteral("New Format")), "mConvert");
    m_sendToFolder = named(m_sendTo->addAction(QStringLiteral("Folder/Disk")), "mSendTo");
    m_folderSeparator = named(m_sendTo->addSeparator(), "blkVFItem");
    m_folderSeparator->setVisible(false);
    QAction* first = named(m_sendTo->addAction(QStringLiteral("mVFItem")), "mVFItem", 0);
    first->setProperty(FormLang::NoLangTextProperty, true); // folder names, not language texts
    first->setVisible(false);
    m_folderItems << first;

    // What other commands do with files is theirs to switch on.
    for (int i : {PlayExternal, EnqueueExternal, Copy, BrowseFolder})
        m_entries[i]->setEnabled(false);
    m_convert->setEnabled(false);
    m_sendToFolder->setEnabled(false);
    setFolderEntriesShown(false);
    updatePropertiesEntry();

    connect(m_entries[Play], &QAction::triggered, this, &ListPopMenu::playRequested);
    connect(m_entries[Delete], &QAction::triggered, this, &ListPopMenu::deleteRequested);
    connect(m_entries[MoveUp], &QAction::triggered, this, [this] { emit moveRequested(false); });
    connect(m_entries[MoveDown], &QAction::triggered, this, [this] { emit moveRequested(true); });
    connect(m_entries[Properties], &QAction::triggered, this, &ListPopMenu::propertiesRequested);
    connect(first, &QAction::triggered, this,
            [this, first] { emit addToFolderRequested(first->data().toString().toInt()); });
}

void ListPopMenu::setFolderEntriesShown(bool shown) {
    for (int i : {FolderSeparator, MoveUp, MoveDown})
        m_entries[i]->setVisible(shown);
}

void ListPopMenu::setExternalPlayerEntriesShown(bool shown) {
    for (int i : {PlayExternal - 1, int(PlayExternal), int(EnqueueExternal)})
        m_entries[i]->setVisible(shown);
}

void ListPopMenu::RebuildSendToFolders(const QList<QPair<qint32, QString>>& folders) {
    // Element 0 stays; the others go, from the highest index down.
    while (m_folderItems.size() > 1)
        delete m_folderItems.takeLast();
    m_folderSeparator->setVisible(!folders.isEmpty());
    m_folderItems.first()->setVisible(false);
    for (qsizetype i = 0; i < folders.size(); ++i) {
        QAction* item = m_folderItems.first();
        if (i > 0) {
            item = named(m_sendTo->addAction(QString()), "mVFItem", static_cast<int>(i));
            item->setProperty(FormLang::NoLangTextProperty, true);
            connect(item, &QAction::triggered, this,
                    [this, item] { emit addToFolderRequested(item->data().toString().toInt()); });
            m_folderItems << item;
        }
        // An "&" in a folder's name is a letter, not a shortcut mark.
        item->setText(QString(folders[i].second).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setData(QString::number(folders[i].first)); // the tag: the folder's id
        item->setVisible(true);
    }
}

void ListPopMenu::updatePropertiesEntry() {
    m_entries[Properties]->setEnabled(
        isSignalConnected(QMetaMethod::fromSignal(&ListPopMenu::propertiesRequested)));
}
