// The rip wizard as the main window starts it.
#include "cd/CDSniff.h"
#include "cd/RipRequest.h"
#include "cd/widgets/ripWizForm.h"
#include "components/MediaFolderStore.h"
#include "components/MediaLibrary.h"
#include "library/widgets/mainForm.h"

void mainForm::ShowRipWizard(const RipRequest& request) {
    ripWizForm wizard(settings(), request, this);
    // The disc is looked for where the watcher finds the virtual drives.
    if (m_cdSniff) wizard.setImagesFolder(m_cdSniff->ImagesFolder());
    wizard.setAddToLibrary([this](const QString& folder) {
        if (!m_mediaLib) return;
        MediaFolderStore* folders = m_mediaLib->MediaFolders();
        // A folder inside a listed one is covered already; only a new one is added.
        const MediaFolderStore::Placement placement = folders->Place(folder);
        if (placement.kind == MediaFolderStore::Placement::New) folders->Add(placement.path);
        RefreshLibraryContents(false);
    });
    wizard.exec();
}
