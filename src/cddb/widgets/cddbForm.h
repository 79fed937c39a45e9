#pragma once
// The CD information dialog: looks a disc up on the CDDB server, shows progress
// while it waits and, when several discs fit, lets the user choose one. The
// caller sets CDDBQuery, runs exec(), and on Success() reads the CDI_ values.
#include "cddb/CdInfo.h"

#include <QDialog>
#include <QList>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cddb {
class CddbClient;
}

class cddbForm : public QDialog {
    Q_OBJECT
public:
    explicit cddbForm(QWidget* parent = nullptr);
    ~cddbForm() override;

    QString CDDBQuery() const { return m_query; }
    void setCDDBQuery(const QString& query) { m_query = query; }

    // True once a disc has been read (one match) or chosen (OK).
    bool Success() const { return m_success; }
    const CdInfo& Disc() const { return m_result; }
    QString CDI_ARTIST() const { return m_result.artist; }
    QString CDI_ALBUM() const { return m_result.album; }
    QString CDI_YEAR() const { return m_result.year; }
    QString CDI_GENREDESC() const { return m_result.genre; }
    QString CDI_CATEGORY() const { return m_result.category; }
    quint8 CDI_TRACKCOUNT() const { return m_result.trackCount; }
    // index from 0, below 100.
    QString CDI_TRACK(quint8 index) const;

    // The candidates of a query with several matches, in list order.
    const QList<CdInfo>& Candidates() const { return m_candidates; }
    // Texts of the current language (also the caption of the selection view).
    void applyLanguage();
    void reject() override;

    // Progress view
    QFrame* mainFrame = nullptr;
    QLabel* actionLbl = nullptr;
    QPushButton* cancelBUT = nullptr;
    // Selection view
    QFrame* asFrame = nullptr;
    QTreeWidget* llist = nullptr;
    QLabel* tlAlbum = nullptr;
    QListWidget* tlist = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* cancelBUT2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build();
    void firstActivation();
    void lookUp();
    void showSelection();
    void showDetails(QTreeWidgetItem* item);
    void choose();
    void cancelTransfer();
    void report(int failure);

    QString m_query;
    CdInfo m_result;
    QList<CdInfo> m_candidates;
    bool m_success = false;
    bool m_firstActivation = true;
    bool m_selectionPending = false;
    bool m_cancelled = false;
    cddb::CddbClient* m_client = nullptr;
};
