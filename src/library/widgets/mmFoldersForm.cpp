#include "library/widgets/mmFoldersForm.h"

#include "components/MediaFolderStore.h"
#include "core/Dialogs.h"
#include "lang/AppLang.h"
#include "library/LibraryMaintenance.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

mmFoldersForm::mmFoldersForm(MediaFolderStore& folders, QWidget* parent)
    : QDialog(parent), m_folders(folders) {
    setObjectName(QStringLiteral("mmFoldersForm"));
    setWindowTitle(QStringLiteral("Media Folders"));
    setModal(true);

    lblInfo = new QLabel(
        QStringLiteral("These folders and all their subfolders are searched for music files "
                       "whenever the library is refreshed."),
        this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);

    flist = new QTreeWidget(this);
    flist->setObjectName(QStringLiteral("flist"));
    flist->setColumnCount(2);
    flist->setHeaderLabels({QStringLiteral("Folder"), QStringLiteral("Last scan")});
    flist->setRootIsDecorated(false);
    flist->setUniformRowHeights(true);
    flist->header()->setStretchLastSection(false);
    flist->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    flist->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    addBUT = new QPushButton(QStringLiteral("&Add..."), this);
    addBUT->setObjectName(QStringLiteral("addBUT"));
    killBUT = new QPushButton(QStringLiteral("&Remove"), this);
    killBUT->setObjectName(QStringLiteral("killBUT"));
    closeBut = new QPushButton(QStringLiteral("&Close"), this);
    closeBut->setObjectName(QStringLiteral("closeBut"));
    closeBut->setDefault(true);
    connect(addBUT, &QPushButton::clicked, this, &mmFoldersForm::AddFolder);
    connect(killBUT, &QPushButton::clicked, this, &mmFoldersForm::RemoveFolder);
    connect(closeBut, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addBUT);
    buttons->addWidget(killBUT);
    buttons->addStretch(1);
    buttons->addWidget(closeBut);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    layout->addWidget(flist, 1);
    layout->addLayout(buttons);
    resize(560, 320);

    FillList();
}

void mmFoldersForm::FillList() {
    killBUT->setEnabled(false);
    flist->clear();
    for (qint32 i = 0; i < m_folders.FolderCount(); ++i) {
        const QDateTime scan = m_folders.FolderLastScan(i);
        auto* item = new QTreeWidgetItem(
            flist, {m_folders.FolderPath(i),
                    scan.isValid() ? scan.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                   : mainMod::LangText(178)});
        item->setData(0, Qt::UserRole, QStringLiteral("k%1").arg(m_folders.FolderId(i)));
    }
    if (flist->topLevelItemCount() > 0) {
        flist->setCurrentItem(flist->topLevelItem(0));
        killBUT->setEnabled(true);
    }
}

void mmFoldersForm::AddFolder() {
    Dialogs& dialogs = Dialogs::current();
    // The picker opens in the home folder, where music usually lives.
    const QString chosen = dialogs.BrowseForFolder(mainMod::LangText(140), QDir::homePath());
    if (chosen.isEmpty()) return;
    const MediaFolderStore::Placement placement = m_folders.Place(chosen);
    if (MediaFolderStore::IsWholeDrive(placement.path) &&
        dialogs.MsgBox(mainMod::LangText(92), Dialogs::YesNo | Dialogs::Question,
                       mainMod::LangText(93)) != Dialogs::Yes)
        return;
    if (const QString why = LibraryMaintenance::RefusalText(placement); !why.isEmpty()) {
        dialogs.MsgBox(why, Dialogs::OkOnly | Dialogs::Information, mainMod::LangText(96));
        return;
    }
    if (m_folders.Add(placement.path))
        m_changed = true;
    else
        dialogs.MsgBox(mainMod::LangText(97), Dialogs::OkOnly | Dialogs::Critical,
                       mainMod::LangText(98));
    FillList();
}

void mmFoldersForm::RemoveFolder() {
    QTreeWidgetItem* item = flist->currentItem();
    if (!item) return;
    Dialogs& dialogs = Dialogs::current();
    if (dialogs.MsgBox(mainMod::LangText(99), Dialogs::YesNo | Dialogs::Question,
                       mainMod::LangText(100)) != Dialogs::Yes)
        return;
    // No is the default button: the files stay unless the user says otherwise.
    const bool withFiles =
        dialogs.MsgBox(mainMod::LangText(101),
                       Dialogs::YesNo | Dialogs::Question | Dialogs::DefaultButton2,
                       mainMod::LangText(102)) == Dialogs::Yes;
    m_folders.Remove(item->text(0), withFiles);
    FillList();
    m_changed = true;
}
