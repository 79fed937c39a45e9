#pragma once
// The properties of one file: file facts and cover ("General"), the six tag
// fields ("Id3/Tag") and the library facts with the rating ("Library"). Apply
// writes the changed fields; OK, Cancel and the close box only hide the window,
// so that the caller can read applied, artistWritten and albumWritten before
// deleting it.
#include "editing/PropsEdit.h"

#include <QDialog>

class MediaLibrary;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class propForm : public QDialog {
    Q_OBJECT
public:
    enum Tab { GeneralTab = 0, TagTab = 1, LibraryTab = 2 };
    // The mark a changed control carries in its "tag" property.
    static constexpr const char* TagProperty = "tag";

    explicit propForm(MediaLibrary& library, QWidget* parent = nullptr);

    // Reads the file (its id in decimal, or its full path) and fills the window.
    // False when the library knows no such file and it is not on the disk.
    bool Load(const QString& file);

    const FileRecord& File() const { return m_edit.File; }
    bool applied() const { return m_edit.applied(); }
    bool artistWritten() const { return m_edit.artistWritten(); }
    bool albumWritten() const { return m_edit.albumWritten(); }
    // 1 after OK, else 2.
    int result() const { return m_result; }
    bool hiding() const { return m_hiding; }

    QTabWidget* SSTab1 = nullptr;
    QLabel* icn = nullptr;
    QLabel* ffFilename = nullptr;
    QLabel* ffLocation = nullptr;
    QLabel* ffType = nullptr;
    QLabel* ffSize = nullptr;
    QLabel* ffCreated = nullptr;
    QLabel* ffModified = nullptr;
    QLabel* ffAccessed = nullptr;
    QLabel* ffBitrate = nullptr;
    QLabel* ffFreq = nullptr;
    QLabel* ffDuration = nullptr;
    QLabel* imgCover = nullptr;
    QLineEdit* idTitle = nullptr;
    QLineEdit* idArtist = nullptr;
    QLineEdit* idAlbum = nullptr;
    QLineEdit* idYear = nullptr;
    QLineEdit* idTrack = nullptr;
    QLineEdit* idGenre = nullptr;
    QComboBox* cmbGenre = nullptr;
    QComboBox* cmbRating = nullptr;
    QLabel* ffAdded = nullptr;
    QLabel* ffUpdated = nullptr;
    QLabel* ffPCount = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT = nullptr;
    QPushButton* applyBUT = nullptr;

public slots:
    void applyBUT_Click();
    void okBut_Click();
    void cancelBUT_Click();
    void reject() override; // Escape: as Cancel

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneralTab();
    QWidget* buildTagTab();
    QWidget* buildLibraryTab();
    void connectControls();
    void fill();
    // A change by the user: the mark, the record field, Apply enabled.
    void changed(QWidget* control, props::Field field, const QString& text);
    void idGenre_Change();
    void cmbGenre_Click(int index);
    void cmbRating_Click(int index);
    void hideForm();

    MediaLibrary& m_library;
    props::PropsEdit m_edit;
    bool m_loading = false;
    bool m_hiding = false;
    int m_result = 2;
};
