#pragma once
// The conversion dialog: an option page (Frame1) and, once started, a progress
// page (Frame2) with one row per file and two bars. The caller queues files
// with AddFile, shows it modally and reads LibraryChanged afterwards.
#include "convert/ConvertQueue.h"
#include "core/AppSettings.h"

#include <QDialog>
#include <QList>

class MediaLibrary;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace convert {
class ConvertJob;
}

class frmConvert : public QDialog {
    Q_OBJECT
public:
    // library: where new files go and deleted ones leave (may be null).
    explicit frmConvert(AppSettings& settings, MediaLibrary* library, QWidget* parent = nullptr);
    ~frmConvert() override;

    // Queues an existing file once; false when it was not queued.
    bool AddFile(const QString& path);
    int ItemCount() const { return m_queue.Count(); }
    const convert::ConvertQueue& queue() const { return m_queue; }
    bool LibraryChanged() const { return m_libraryChanged; }
    // The running (or last) job, else null.
    convert::ConvertJob* job() const { return m_job; }
    void applyLanguage();
    // Cancel, Esc and the close box: while a run is in progress, the question
    // whether to cancel it; otherwise the dialog closes.
    void reject() override;

    // Option page
    QFrame* Frame1 = nullptr;
    QLabel* lblType = nullptr;
    QComboBox* fType = nullptr;
    QGroupBox* fraTags = nullptr;
    QList<QCheckBox*> opt;   // Title, Artist, Album, Year, Genre
    QList<QLineEdit*> fText; // Title, Artist, Album, Year
    QComboBox* cmbGenre = nullptr;
    QLabel* lblTitle = nullptr;
    QLineEdit* fTitle = nullptr;
    QLabel* lblPath = nullptr;
    QLineEdit* fPath = nullptr;
    QPushButton* btBrowse = nullptr;
    QCheckBox* chk2 = nullptr; // Keep source file title
    QCheckBox* chk1 = nullptr; // Save to source folder
    QCheckBox* chk6 = nullptr; // Delete original files
    QCheckBox* chk5 = nullptr; // Add new files to Library
    QPushButton* btSettings = nullptr;
    // Progress page
    QFrame* Frame2 = nullptr;
    QTreeWidget* llist = nullptr;
    QWidget* fileProgress = nullptr; // pbFile, or lblWait in its place
    QProgressBar* pbFile = nullptr;
    QLabel* lblWait = nullptr;
    QProgressBar* pbTotal = nullptr;
    QPushButton* nextBUT = nullptr;
    QPushButton* cancelBUT = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build();
    QWidget* buildOptionPage();
    QWidget* buildProgressPage();
    // The tag options for the format and the number of files queued.
    void layoutTagOptions();
    // "Keep source file title" and "Save to source folder" and what follows from them.
    void updateNameAndFolder();
    void browse();
    void openSettings();
    void start();
    void runJob();
    void showRow(int row);
    void jobFinished(int outcome);
    void askCancel();

    AppSettings& m_settings;
    MediaLibrary* m_library;
    convert::ConvertQueue m_queue;
    convert::ConvertJob* m_job = nullptr;
    bool m_activated = false;
    bool m_libraryChanged = false;
};
