#pragma once
// The audio-CD panel that takes the file list's place while a disc's node is
// selected: the disc's tracks (titles editable in place), its facts, the
// disc data the user can edit, the info button and the two rip buttons.
#include "cd/CdDrives.h"

#include <QFrame>
#include <QList>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class clsRIP;
struct CdInfo;
struct RipRequest;

class AcdPanel : public QFrame {
    Q_OBJECT
public:
    // Runs the CD information dialog on a query; true when info was filled.
    using LookUp = std::function<bool(const QString& query, CdInfo& info)>;
    // Shows the rip wizard for a request.
    using RipWizard = std::function<void(const RipRequest& request)>;

    explicit AcdPanel(QWidget* parent = nullptr);

    // Empties the panel: no CD number, no facts, no disc data, buttons off.
    void Reset();
    // Fills the tracks and facts of CD number from a disc whose table of
    // contents the ripper has read, and enables the buttons that apply.
    void ShowDisc(int number, const clsRIP& rip, const cd::CdDrive& disc = {});
    // True while the panel holds CD number with that disc in it.
    bool isShowing(int number, const cd::CdDrive& disc) const {
        return cdNumber() == number && m_disc == disc;
    }

    // After a language switch: entries that still carry the standard title
    // ("Track 3") take the new language's; typed titles stay.
    void LanguageChanged();

    // The shown CD's number (the frame's tag), 0 when none.
    int cdNumber() const;
    // The disc's CDDB query command (the tag of cdiID).
    QString cddbQuery() const;

    // The info button: looks the disc up and fills the panel from the answer.
    void GetCDInfo();
    // Copies a looked-up disc into the track titles and the disc data.
    void applyInfo(const CdInfo& info);
    // A rip button (0 all tracks, 1 the selected ones): hands the disc to the wizard.
    void RipCD(int index);
    RipRequest ripRequest(int index) const;

    void setLookUp(LookUp lookUp) { m_lookUp = std::move(lookUp); }
    void setRipWizard(RipWizard wizard) { m_ripWizard = std::move(wizard); }

    QTreeWidget* tlist = nullptr;
    QLabel* cdiTracks = nullptr;
    QLabel* cdiLength = nullptr;
    QLabel* cdiID = nullptr;
    QLineEdit* cdiArtist = nullptr;
    QLineEdit* cdiAlbum = nullptr;
    QLineEdit* cdiYear = nullptr;
    QComboBox* cdiGenre = nullptr; // item data = genre number
    QPushButton* btGetCDInfo = nullptr;
    QList<QPushButton*> btRipCD; // 0 "Rip all", 1 "Rip selected"

private:
    void buildLayout();
    QLabel* caption(const char* name, const QString& text);

    cd::CdDrive m_disc;
    QString m_trackWord; // language text 57 when the entries were made
    LookUp m_lookUp;
    RipWizard m_ripWizard;
};
