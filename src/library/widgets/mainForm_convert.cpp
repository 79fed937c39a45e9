// The list menu's "New Format": the selected files through the conversion dialog.
#include "convert/widgets/frmConvert.h"
#include "core/PathHelpers.h"
#include "library/LibraryTree.h"
#include "library/widgets/FileListView.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/ListPopMenu.h"
#include "library/widgets/mainForm.h"

#include <QAction>

void mainForm::ConvertFiles(const QStringList& paths) {
    frmConvert dialog(m_settings, m_mediaLib.get(), this);
    for (const QString& path : paths) {
        const QString longPath = mainMod::LongPath(path);
        dialog.AddFile(longPath.isEmpty() ? path : longPath);
    }
    dialog.exec();
    if (dialog.LibraryChanged() && m_browser) m_browser->MakeTree(TreeSection::All);
}

void mainForm::connectConvertAction(LibraryBrowser* browser) {
    QAction* convert = browser->listPop()->mConvert();
    convert->setEnabled(true);
    connect(convert, &QAction::triggered, this, [this, browser] {
        QStringList paths;
        for (int row : llist->selectedRows())
            paths << browser->model().tag(row);
        ConvertFiles(paths);
    });
}
