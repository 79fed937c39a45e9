// Playback and the file actions of the list: the micro player, the external
// player, the copy to a folder, the clipboard and the file manager.
#include "core/Dialogs.h"
#include "core/Shell.h"
#include "editing/ClipboardFiles.h"
#include "editing/SendToFolder.h"
#include "editing/widgets/fileCopyForm.h"
#include "lang/AppLang.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/ListPopMenu.h"
#include "library/widgets/MainMenus.h"
#include "library/widgets/mainForm.h"
#include "player/ExternalPlayer.h"
#include "player/widgets/MicroPlayer.h"
#include "player/widgets/MprisService.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMimeData>

namespace {
enum Text { ClipboardFailed = 26, ClipboardTitle = 27 };
}

void mainForm::attachMicroPlayer() {
    // The close button hides the player instead of closing it; what it plays stops.
    connect(MicroPlayer, &::MicroPlayer::closeRequested, this, [this] {
        MicroPlayer->Stop();
        setMicroPlayerVisible(false);
    });
    connect(MicroPlayer, &::MicroPlayer::layoutChanged, mmPic,
            [this] { mmPic->layout()->invalidate(); });
    if (MprisService::SessionBusAvailable())
        m_mpris = new MprisService(MicroPlayer, QDBusConnection::sessionBus(), this);
}

void mainForm::PlayWithMicroPlayer(const QString& path, const QString& title, int flag) {
    if (MicroPlayer->isHidden()) setMicroPlayerVisible(true);
    MicroPlayer->Play(path, title, flag);
}

void mainForm::PlayInWinamp(const QString& paths, bool enqueue) {
    ExternalPlayer::PlayInWinamp(paths, enqueue);
}

void mainForm::SendToFolder(const QString& subfolder, const QStringList& sources) {
    const QString target = SendToFolder::ChooseTarget(subfolder);
    if (target.isEmpty()) return;
    fileCopyForm form(this);
    for (const auto& pair : SendToFolder::Pairs(target, sources))
        form.AddPair(pair.first, pair.second);
    form.exec();
}

bool mainForm::CopyFilesToClipboard(const QStringList& paths) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->clear();
    QMimeData* data = ClipboardFiles::MimeData(paths);
    if (!data) return false;
    clipboard->setMimeData(data);
    return true;
}

void mainForm::CopyToClipboard(const QStringList& paths) {
    if (paths.isEmpty()) return;
    if (!CopyFilesToClipboard(paths))
        Dialogs::current().MsgBox(mainMod::LangText(ClipboardFailed),
                                  Dialogs::OkOnly | Dialogs::Exclamation,
                                  mainMod::LangText(ClipboardTitle));
}

void mainForm::BrowseFolder(const QString& path) {
    const int cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) return;
    Shell::current().OpenDocument(path.left(cut + 1));
}

void mainForm::connectPlayActions(LibraryBrowser* browser) {
    ListPopMenu* pop = browser->listPop();
    // The selected items' paths in list order; the focused item's path.
    const auto selected = [this, browser] {
        QStringList paths;
        for (int row : llist->selectedRows())
            paths << browser->model().tag(row);
        return paths;
    };
    const auto focused = [this, browser] {
        const QModelIndex index = llist->currentIndex();
        return index.isValid() ? browser->model().tag(index.row()) : QString();
    };
    const auto wire = [this](QAction* action, auto&& slot) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, slot);
    };
    wire(pop->entry(ListPopMenu::PlayExternal),
         [this, selected] { PlayInWinamp(selected().join(QStringLiteral("\r\n")), false); });
    wire(pop->entry(ListPopMenu::EnqueueExternal),
         [this, selected] { PlayInWinamp(selected().join(QStringLiteral("\r\n")), true); });
    wire(pop->mSendTo(), [this, selected] { SendToFolder(QString(), selected()); });
    wire(pop->entry(ListPopMenu::Copy), [this, selected] { CopyToClipboard(selected()); });
    wire(pop->entry(ListPopMenu::BrowseFolder), [this, focused] {
        const QString path = focused();
        if (!path.isEmpty()) BrowseFolder(path);
    });
    // The tree's Send To copies every file of the node, into a subfolder named
    // after it when the user agrees.
    wire(browser->popAction()->actions().at(6), [this, selected] {
        QTreeWidgetItem* node = tv1->node(tv1->selectedKey());
        llist->selectAllRows();
        SendToFolder(node ? node->text(0).trimmed() : QString(), selected());
    });
}
