// The main window's side of audio CDs: the watcher's start and stop, its
// events, and the genre list of the audio-CD panel.
#include "cd/CDSniff.h"
#include "components/TagService.h"
#include "lang/Mui.h"
#include "library/LibraryTree.h"
#include "library/NodeKeys.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/LibraryTreeWidget.h"
#include "library/widgets/mainForm.h"
#include "util/widgets/Popups.h"

#include <QComboBox>
#include <QDir>
#include <QTreeWidgetItem>

void mainForm::FillGenreList() {
    cdiGenre->clear();
    const QList<QPair<QString, int>> genres = TagService::GenreList();
    for (const auto& [name, number] : genres)
        cdiGenre->addItem(name, number);
    cdiGenre->setCurrentIndex(0);
}

void mainForm::startCdWatcher(const StartupOptions& options) {
    // A data folder given to start-up holds the virtual drives too.
    const QString images = options.dataFolder.isEmpty()
                               ? QString()
                               : QDir(options.dataFolder).filePath(QStringLiteral("cd-images"));
    m_cdSniff = new CDSniff(images, this);
    connect(m_cdSniff, &CDSniff::AudioCdIN, this, &mainForm::CDSniff_AudioCdIN);
    connect(m_cdSniff, &CDSniff::AudioCdOUT, this, &mainForm::CDSniff_AudioCdOUT);
    if (m_browser) {
        m_browser->setAudioCdSource([this] {
            QStringList names;
            if (!m_cdSniff) return names;
            const int count = m_cdSniff->AudioCdCount();
            for (int i = 0; i < count; ++i)
                names.append(m_cdSniff->AudioCdDrive(i));
            return names;
        });
    }
    if (!m_devMode) m_cdSniff->StartWatching();
}

void mainForm::stopCdWatcher() {
    if (!m_cdSniff) return;
    m_cdSniff->StopWatching();
    if (m_browser) m_browser->setAudioCdSource(nullptr);
    delete m_cdSniff;
    m_cdSniff = nullptr;
}

void mainForm::rebuildCdBranch() {
    emit treeRebuildRequested(TreeSection::AudioCds);
    // The rebuild keeps the nodes that exist; after a removal a number can stand
    // for another disc now, so the names are set again.
    if (!m_cdSniff) return;
    for (int i = 0; i < m_cdSniff->AudioCdCount(); ++i)
        if (QTreeWidgetItem* node = tv1->node(NodeKeys::audioCdKey(i + 1)))
            node->setText(0, m_cdSniff->AudioCdDrive(i));
}

void mainForm::CDSniff_AudioCdIN() {
    rebuildCdBranch();
    if (m_settings.NewAudioCD && m_lang)
        mainMod::ShowPopup(m_lang->Text(17), 64, m_lang->Text(18), 10);
}

void mainForm::CDSniff_AudioCdOUT() {
    rebuildCdBranch();
}
