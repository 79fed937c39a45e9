#pragma once
// "CD-Rip": the wizard that rips the audio CD's chosen tracks to MP3, WMA or
// WAV files. Page 1 holds the choices, page 2 the target list and the progress.
// The rip runs on a worker thread; the window stays responsive meanwhile.
#include "cd/RipJob.h"
#include "cd/RipRequest.h"
#include "core/AppSettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QThread;
class QTreeWidget;
class QTreeWidgetItem;

class ripWizForm : public QDialog {
    Q_OBJECT
public:
    ripWizForm(AppSettings& settings, const RipRequest& request, QWidget* parent = nullptr);
    ~ripWizForm() override;

    // Where virtual drives are looked for; empty: the default.
    void setImagesFolder(const QString& folder) { m_imagesFolder = folder; }
    // Called with the output folder after a rip with "Add files to Library" ticked.
    void setAddToLibrary(std::function<void(const QString&)> add) {
        m_addToLibrary = std::move(add);
    }
    void applyLanguage();
    bool ripping() const { return m_thread != nullptr; }
    bool finished() const { return m_done; }
    // Cancel's work: asks, then stops the rip or closes.
    void askCancel();

    QStackedWidget* pages = nullptr;
    QLabel* lblFolder = nullptr;
    QLineEdit* oFolder = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chk1 = nullptr;
    QCheckBox* chk2 = nullptr;
    QLabel* lblPattern = nullptr;
    QLineEdit* fName = nullptr;
    QPushButton* cmdDefault = nullptr;
    QLabel* lblTags = nullptr;
    QLabel* lblType = nullptr;
    QComboBox* fType = nullptr;
    QPushButton* cmdSettings = nullptr;
    QTreeWidget* llist = nullptr;
    QGroupBox* fraProgress = nullptr;
    QLabel* lblTrack = nullptr;
    QProgressBar* pbTrack = nullptr;
    QLabel* lblOverall = nullptr;
    QProgressBar* pbOverall = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;

signals:
    // After the last entry, when the rip has ended.
    void ripEnded();

public slots:
    void reject() override;
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void build();
    void loadSettings();
    void saveSettings();
    void browse();
    void showSettings();
    void next();
    void back();
    void buildTargets();
    void startRip();
    void ripFinished(int outcome);
    void entryChanged(int index, int state);
    void entryProgress(int index, float percent);
    void showStatus(int index);

    AppSettings& m_settings;
    RipRequest m_request;
    QString m_imagesFolder;
    std::function<void(const QString&)> m_addToLibrary;
    QList<cd::RipTarget> m_plan;
    QList<int> m_states; // RipJob::State per entry, -1 before the rip
    int m_planFormat = 0;
    RipJob* m_job = nullptr;
    QThread* m_thread = nullptr;
    bool m_done = false;
    bool m_saved = false;
};
