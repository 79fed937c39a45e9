#pragma once
// The filter editor "Filter edition": the condition grid (basic mode) or a
// hand-written WHERE text (expert mode), Test, and Save under the store's
// rules. Modal; the caller reads `saved` and `filterId` after it closes.
#include "core/Database.h"
#include "filters/FilterGrid.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class filterForm : public QDialog {
    Q_OBJECT
    Q_PROPERTY(bool saved READ saved)
    Q_PROPERTY(qint64 filterId READ filterId)
public:
    explicit filterForm(db::Database& db, QWidget* parent = nullptr);

    // Shows the stored filter; leaves the editor as it opened when there is none.
    void loadFilter(qint32 id);

    bool saved() const { return m_saved; }
    // The filter shown: 0 for a new one, the saved row after Save.
    qint64 filterId() const { return m_id; }
    bool expertMode() const { return m_expert; }

    // The grid as the controls hold it, and the statement Test and Save use.
    filters::FilterGrid grid() const;
    QString statement() const;

    // The grid, in the order of their indexes.
    QList<QComboBox*> cmbCondition;
    QList<QCheckBox*> ckNOT;
    QList<QLabel*> lblField;
    QList<QLineEdit*> fTxt;    // rows 0-3
    QList<QDateTimeEdit*> dtI; // rows 5, 6
    QList<QDateTimeEdit*> dtF;
    QList<QLineEdit*> dtDays;
    QList<QLabel*> lblAnd;   // between the two pickers of a date row
    QList<QLabel*> lblRange; // the "n-m" hints of the year (0) and size (1) rows
    QComboBox* cmbGenre = nullptr;
    QLineEdit* szTxt = nullptr;
    QComboBox* cmbFSize = nullptr;
    QLineEdit* qTxt = nullptr;
    QLabel* lblKbps = nullptr;
    QLineEdit* dTxt = nullptr;
    QLabel* lblTime = nullptr;
    QComboBox* cmbLogic = nullptr;
    QLabel* lblLogicNote = nullptr;
    QLineEdit* fltName = nullptr;
    QFrame* sqlFrame = nullptr;
    QPlainTextEdit* fSQL = nullptr;
    QPushButton* okBut = nullptr;
    QPushButton* testBUT = nullptr;
    QPushButton* closeBut = nullptr;
    QPushButton* swMode = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    void buildFrame();
    void fillLists();
    void connectControls();
    // Lists filled, every row off, pickers at the present moment.
    void reset();
    void setGrid(const filters::FilterGrid& grid);

    // Shows the row's controls for its operator; `chosen`: by the user, not restored.
    void applyRow(int row, bool chosen);
    void cmbCondition_Click(int row);
    void ckNOT_Click(int row);
    void cmbLogic_Click();
    void swMode_Click();
    void testBUT_Click();
    void okBut_Click();
    void refreshPreview();
    // The value check of a box that lost the focus; false when it failed.
    bool checkBox(QLineEdit* box);
    // Value controls of a row, the first taking the focus.
    QList<QWidget*> rowControls(int row) const;
    bool validate();
    // True while a box that failed its check still holds the bad value.
    bool invalidValueLeft();

    db::Database& m_db;
    filters::GenreList m_genres;
    qint64 m_id = 0;
    bool m_saved = false;
    bool m_loading = false;
    bool m_expert = false;
    bool m_checking = false;
    QLineEdit* m_invalidBox = nullptr;
};
