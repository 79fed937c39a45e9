// The main window's side of audio CDs: the watcher's start and stop, its
// events, and the genre list of the audio-CD panel.
#include "cd/CDSniff.h"
#include "components/TagService.h"
#include "lang/Mui.h"
#include "library/LibraryTree.h"
#include "library/widgets/LibraryBrowser.h"
#include "library/widgets/mainForm.h"
#include "util/widgets/Popups.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QVBoxLayout>

void mainForm::FillGenreList() {
    if (!cdiGenre) {
        cdiGenre = new QComboBox(acdFrame);
        cdiGenre->setObjectName(QStringLiteral("cdiGenre"));
        auto* layout = new QVBoxLayout(acdFrame);
        layout->addWidget(cdiGenre, 0, Qt::AlignLeft | Qt::AlignTop);
    }
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

void mainForm::CDSniff_AudioCdIN() {
    emit treeRebuildRequested(TreeSection::AudioCds);
    if (m_settings.NewAudioCD && m_lang)
        mainMod::ShowPopup(m_lang->Text(17), 64, m_lang->Text(18), 10);
}

void mainForm::CDSniff_AudioCdOUT() {
    emit treeRebuildRequested(TreeSection::AudioCds);
}
