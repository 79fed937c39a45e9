// The editor's behaviour: row states, value checks, preview, modes, Test and Save.
#include "core/Dialogs.h"
#include "core/Formatting.h"
#include "filters/FilterChecks.h"
#include "filters/FilterCompiler.h"
#include "filters/FilterData.h"
#include "filters/FilterQuery.h"
#include "filters/FilterStore.h"
#include "filters/widgets/filterForm.h"
#include "lang/AppLang.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

using namespace filters;

namespace {

// Language text n, or the designed English one when no language is loaded.
QString text(int number, const char* designed) {
    const QString t = mainMod::LangText(number);
    return t.isEmpty() ? QString::fromUtf8(designed) : t;
}

constexpr int Between = 4;
constexpr int LastDays = 5;

} // namespace

void filterForm::connectControls() {
    for (int row = 0; row < RowCount; ++row) {
        connect(cmbCondition[row], &QComboBox::activated, this,
                [this, row] { cmbCondition_Click(row); });
        connect(ckNOT[row], &QCheckBox::toggled, this, [this, row] { ckNOT_Click(row); });
    }
    for (QLineEdit* box :
         {fTxt[0], fTxt[1], fTxt[2], fTxt[3], dtDays[0], dtDays[1], szTxt, qTxt, dTxt})
        connect(box, &QLineEdit::textChanged, this, &filterForm::refreshPreview);
    for (QLineEdit* box : {fTxt[3], dtDays[0], dtDays[1], szTxt, qTxt, dTxt})
        box->installEventFilter(this);
    for (QDateTimeEdit* p : {dtI[0], dtI[1], dtF[0], dtF[1]})
        connect(p, &QDateTimeEdit::dateTimeChanged, this, &filterForm::refreshPreview);
    for (QComboBox* list : {cmbGenre, cmbFSize})
        connect(list, &QComboBox::currentIndexChanged, this, &filterForm::refreshPreview);
    connect(cmbLogic, &QComboBox::currentIndexChanged, this, &filterForm::cmbLogic_Click);
    connect(swMode, &QPushButton::clicked, this, &filterForm::swMode_Click);
    connect(testBUT, &QPushButton::clicked, this, &filterForm::testBUT_Click);
    connect(okBut, &QPushButton::clicked, this, &filterForm::okBut_Click);
    connect(closeBut, &QPushButton::clicked, this, &QDialog::reject);
}

void filterForm::reset() {
    fillLists();
    Result<GenreList> genres = LoadGenres(m_db, text(176, "(No genre)"));
    m_genres = genres ? *genres : GenreList{GenreEntry{255, text(176, "(No genre)")}};
    cmbGenre->blockSignals(true);
    cmbGenre->clear();
    for (const GenreEntry& g : m_genres)
        cmbGenre->addItem(g.text, g.id);
    cmbGenre->blockSignals(false);

    swMode->setText(text(148, "&Expert Mode"));
    setGrid(FilterGrid::reset(QDateTime::currentDateTime()));
    cmbLogic_Click();
}

void filterForm::loadFilter(qint32 id) {
    m_loading = true;
    Result<std::optional<FilterRecord>> found = FindFilter(m_db, id);
    if (found && *found) {
        fltName->setText((*found)->name);
        setGrid(DecodeGrid((*found)->fdata, grid()));
        m_id = id;
    }
    m_loading = false;
    refreshPreview();
}

FilterGrid filterForm::grid() const {
    FilterGrid g;
    for (int row = 0; row < RowCount; ++row) {
        FilterRow& r = g.rows[row];
        r.op = cmbCondition[row]->currentIndex();
        r.negated = ckNOT[row]->isChecked();
    }
    for (int i = 0; i < 4; ++i)
        g.rows[i].text = fTxt[i]->text();
    g.rows[Row::FileSize].text = szTxt->text();
    g.rows[Row::BitRate].text = qTxt->text();
    g.rows[Row::Duration].text = dTxt->text();
    for (int i = 0; i < 2; ++i) {
        FilterRow& r = g.rows[Row::DateAdded + i];
        r.from = dtI[i]->dateTime();
        r.until = dtF[i]->dateTime();
        r.days = dtDays[i]->text();
    }
    g.genre = cmbGenre->currentIndex();
    g.sizeUnit = cmbFSize->currentIndex();
    g.logic = cmbLogic->currentIndex();
    return g;
}

void filterForm::setGrid(const FilterGrid& g) {
    const bool loading = m_loading;
    m_loading = true; // one preview at the end, not one per control
    for (int row = 0; row < RowCount; ++row) {
        cmbCondition[row]->setCurrentIndex(g.rows[row].op);
        ckNOT[row]->setChecked(g.rows[row].negated);
    }
    fTxt[3]->setMaxLength(32767); // the rows set their lengths below
    szTxt->setMaxLength(32767);
    for (int i = 0; i < 4; ++i)
        fTxt[i]->setText(g.rows[i].text);
    szTxt->setText(g.rows[Row::FileSize].text);
    qTxt->setText(g.rows[Row::BitRate].text);
    dTxt->setText(g.rows[Row::Duration].text);
    for (int i = 0; i < 2; ++i) {
        const FilterRow& r = g.rows[Row::DateAdded + i];
        dtI[i]->setDateTime(r.from);
        dtF[i]->setDateTime(r.until);
        dtDays[i]->setText(r.days);
    }
    cmbGenre->setCurrentIndex(g.genre);
    cmbFSize->setCurrentIndex(g.sizeUnit);
    cmbLogic->setCurrentIndex(g.logic);
    for (int row = 0; row < RowCount; ++row)
        applyRow(row, false);
    m_loading = loading;
    refreshPreview();
}

void filterForm::applyRow(int row, bool chosen) {
    const int op = cmbCondition[row]->currentIndex();
    const bool on = op > 0;
    ckNOT[row]->setVisible(on);
    if (!on) ckNOT[row]->setChecked(false);
    for (QWidget* w : rowControls(row))
        w->setVisible(on);
    if (!on) return;
    if (row == Row::Year || row == Row::FileSize) {
        QLineEdit* box = row == Row::Year ? fTxt[3] : szTxt;
        const int length = op >= Between ? 9 : 4;
        // A range does not fit a single value: start again. A restored text
        // stays as stored, so the box only shrinks to what it holds.
        if (chosen && length == 4 &&
            (box->text().size() >= 5 || box->text().contains(QLatin1Char('-'))))
            box->clear();
        box->setMaxLength(std::max<int>(length, box->text().size()));
        lblRange[row == Row::Year ? 0 : 1]->setVisible(op >= Between);
    }
    if (row == Row::DateAdded || row == Row::FileDate) {
        const int i = row - Row::DateAdded;
        dtI[i]->setVisible(op < LastDays);
        dtF[i]->setVisible(op == Between);
        lblAnd[i]->setVisible(op == Between);
        dtDays[i]->setVisible(op == LastDays);
    }
}

void filterForm::cmbCondition_Click(int row) {
    applyRow(row, true);
    for (QWidget* w : rowControls(row))
        if (!w->isHidden() && w->focusPolicy() != Qt::NoFocus) {
            w->setFocus();
            break;
        }
    refreshPreview();
}

void filterForm::ckNOT_Click(int row) {
    // A negated row stands out in light red.
    cmbCondition[row]->setStyleSheet(
        ckNOT[row]->isChecked()
            ? QStringLiteral("QComboBox { background-color: rgb(255, 192, 192); }")
            : QStringLiteral("QComboBox { background-color: white; }"));
    refreshPreview();
}

void filterForm::cmbLogic_Click() {
    lblLogicNote->setText(cmbLogic->currentIndex() == 1
                              ? text(153, "Files must match at least one of the conditions.")
                              : text(152, "Files must match all the conditions."));
    refreshPreview();
}

void filterForm::refreshPreview() {
    if (m_loading) return;
    fSQL->setPlainText(WherePart(Compile(grid(), m_genres)));
}

void filterForm::swMode_Click() {
    m_expert = !m_expert;
    sqlFrame->setVisible(m_expert);
    swMode->setText(m_expert ? text(149, "&Basic Mode") : text(148, "&Expert Mode"));
}

QString filterForm::statement() const {
    return m_expert ? ExpertStatement(fSQL->toPlainText()) : Compile(grid(), m_genres);
}

bool filterForm::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the window (another window, a popup) is no move to another control.
    if (event->type() == QEvent::FocusOut && !m_checking) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box && why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) checkBox(box);
    }
    return QDialog::eventFilter(watched, event);
}

bool filterForm::checkBox(QLineEdit* box) {
    ValueCheck check;
    if (box == qTxt || box == dtDays[0] || box == dtDays[1])
        check = CheckPositiveNumber(box->text());
    else if (box == dTxt)
        check = CheckDuration(box->text());
    else if (box == fTxt[3])
        check = CheckYear(box->text());
    else if (box == szTxt)
        check = CheckSize(box->text(), cmbCondition[Row::FileSize]->currentIndex() >= Between);
    else
        return true;
    if (check.ok()) {
        if (check.text != box->text()) box->setText(check.text);
        if (m_invalidBox == box) m_invalidBox = nullptr;
        return true;
    }
    m_invalidBox = box;
    m_checking = true;
    Dialogs::current().MsgBox(
        CheckPrompt(check.failure, text(161, "Please enter a valid value"), text(163, "format")),
        Dialogs::Exclamation, text(162, "Invalid Value"));
    m_checking = false;
    // The box keeps the focus until its value is corrected or emptied.
    QTimer::singleShot(0, box, [box] { box->setFocus(); });
    return false;
}

bool filterForm::invalidValueLeft() {
    if (!m_invalidBox) return false;
    // Clicking the button took the focus from the box, whose check has just
    // spoken; a box that still has the focus (Enter) is checked now.
    if (!m_invalidBox->hasFocus()) return true;
    return !checkBox(m_invalidBox);
}

bool filterForm::validate() {
    const Status valid = ValidateStatement(m_db, statement());
    if (valid) return true;
    Dialogs::current().MsgBox(text(156, "The filter is not valid."), Dialogs::Critical,
                              text(155, "Invalid Filter"));
    return false;
}

void filterForm::testBUT_Click() {
    if (invalidValueLeft()) return;
    if (validate())
        Dialogs::current().MsgBox(text(164, "The filter is valid."), Dialogs::Information,
                                  text(165, "Test Filter"));
}

void filterForm::okBut_Click() {
    if (invalidValueLeft()) return;
    SaveRequest request;
    request.currentId = m_id;
    request.name = fltName->text();
    request.fdata = EncodeGrid(grid());
    request.statement = statement();
    const ReplaceQuestion ask = [](const QString& name) {
        return Dialogs::current().MsgBox(mainMod::LangText(159, {mainMod::QuoteText(name)}),
                                         Dialogs::YesNo | Dialogs::Exclamation,
                                         text(160, "Replace Filter")) == Dialogs::Yes;
    };
    const Result<SaveResult> result = SaveFilter(m_db, request, ask);
    if (!result || result->outcome == SaveOutcome::Invalid) {
        Dialogs::current().MsgBox(text(156, "The filter is not valid."), Dialogs::Critical,
                                  text(155, "Invalid Filter"));
        return;
    }
    switch (result->outcome) {
    case SaveOutcome::NameTooShort:
        Dialogs::current().MsgBox(text(157, "The filter name must have at least 3 characters."),
                                  Dialogs::Exclamation, text(158, "Filter Name"));
        fltName->setFocus();
        return;
    case SaveOutcome::Declined:
        return;
    default:
        break;
    }
    m_id = result->id;
    m_saved = true;
    accept();
}
