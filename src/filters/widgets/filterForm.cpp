// The editor's controls and their layout; the behaviour is in filterForm_events.cpp.
#include "filters/widgets/filterForm.h"

#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "lang/widgets/FormLang.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* w, const char* name, int index = -1) {
    w->setObjectName(QString::fromLatin1(name));
    if (index >= 0) w->setProperty("index", index);
    return w;
}

QLabel* label(const char* name, const QString& text, int index = -1) {
    return named(new QLabel(text), name, index);
}

QLineEdit* textBox(const char* name, int index = -1, int width = 0) {
    QLineEdit* box = named(new QLineEdit, name, index);
    if (width > 0) box->setFixedWidth(width);
    return box;
}

QDateTimeEdit* picker(const char* name, int index) {
    QDateTimeEdit* p = named(new QDateTimeEdit, name, index);
    p->setCalendarPopup(true);
    p->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    p->setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0)),
                        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
    return p;
}

// The operator lists' entries as designed; the language file may replace them.
const QStringList& operatorEntries(int row) {
    static const QString ignore = QStringLiteral("{ignore}");
    static const QStringList text = {ignore, QStringLiteral("equals"), QStringLiteral("contains")};
    static const QStringList number = {ignore, QStringLiteral("equals"),
                                       QStringLiteral("lower than"), QStringLiteral("bigger than"),
                                       QStringLiteral("between")};
    static const QStringList genre = {ignore, QStringLiteral("equals")};
    static const QStringList date = {ignore,
                                     QStringLiteral("equals"),
                                     QStringLiteral("before"),
                                     QStringLiteral("after"),
                                     QStringLiteral("between"),
                                     QStringLiteral("last (n days)")};
    static const QStringList size = {ignore, QStringLiteral("equals"),
                                     QStringLiteral("smaller than"), QStringLiteral("bigger than"),
                                     QStringLiteral("between")};
    static const QStringList type = {ignore, QStringLiteral("MP3"), QStringLiteral("WAV"),
                                     QStringLiteral("WMA")};
    static const QStringList measure = {ignore, QStringLiteral("equals"),
                                        QStringLiteral("lower than"),
                                        QStringLiteral("bigger than")};
    static const QStringList* rows[filters::RowCount] = {
        &text, &text, &text, &number, &genre, &date, &date, &size, &type, &measure, &measure};
    return *rows[row];
}

// A list entry from the language file when it has one.
QString entryText(const QString& key, const QString& designed) {
    const clsMUI* lang = mainMod::Lang();
    return lang && lang->HasText(key) ? lang->TextObj(key) : designed;
}

void fill(QComboBox* list, const QString& keyBase, const QStringList& designed,
          int translatedFrom = 0, int translatedUntil = -1) {
    list->blockSignals(true);
    list->clear();
    for (int k = 0; k < designed.size(); ++k) {
        const bool translated =
            k >= translatedFrom && (translatedUntil < 0 || k <= translatedUntil);
        list->addItem(translated
                          ? entryText(keyBase + QStringLiteral(".List(%1)").arg(k), designed[k])
                          : designed[k]);
    }
    list->blockSignals(false);
}

} // namespace

filterForm::filterForm(db::Database& db, QWidget* parent) : QDialog(parent), m_db(db) {
    setObjectName(QStringLiteral("filterForm"));
    setWindowTitle(QStringLiteral("Filter edition"));
    setModal(true);
    buildGrid();
    buildFrame();
    FormLang::SetFormLang(this);
    connectControls();
    reset();
}

void filterForm::buildGrid() {
    static const char* fields[filters::RowCount] = {
        "Album",     "Artist",    "Title",     "Year",    "Genre",   "Date Added",
        "File Date", "File Size", "File Type", "BitRate", "Duration"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i)
        fTxt << textBox("fTxt", i);
    for (int i = 0; i < 2; ++i) {
        dtI << picker("dtI", i);
        dtF << picker("dtF", i);
        dtDays << textBox("dtDays", i, 60);
        lblAnd << label("lblAnd", QStringLiteral("and"), i);
        lblRange << label("lblRange", QStringLiteral("(n-m)"), i);
    }
    fTxt[3]->setMaxLength(4);
    cmbGenre = named(new QComboBox, "cmbGenre");
    szTxt = textBox("szTxt", -1, 90);
    szTxt->setMaxLength(4);
    cmbFSize = named(new QComboBox, "cmbFSize");
    qTxt = textBox("qTxt", -1, 60);
    lblKbps = label("lblKbps", QStringLiteral("Kbps"));
    dTxt = textBox("dTxt", -1, 90);
    lblTime = label("lblTime", QStringLiteral("(hh:mm:ss)"));

    for (int row = 0; row < filters::RowCount; ++row) {
        lblField << label("lblField", QString::fromLatin1(fields[row]), row);
        cmbCondition << named(new QComboBox, "cmbCondition", row);
        ckNOT << named(new QCheckBox(QStringLiteral("NOT")), "ckNOT", row);
        auto* values = new QHBoxLayout;
        for (QWidget* w : rowControls(row))
            values->addWidget(w);
        values->addStretch(1);
        grid->addWidget(lblField[row], row, 0);
        grid->addWidget(ckNOT[row], row, 1);
        grid->addWidget(cmbCondition[row], row, 2);
        grid->addLayout(values, row, 3);
    }
    grid->setColumnStretch(3, 1);

    cmbLogic = named(new QComboBox, "cmbLogic");
    lblLogicNote = label("lblLogicNote", QString());
    lblLogicNote->setProperty(FormLang::NoLangTextProperty, true);
    auto* logic = new QHBoxLayout;
    logic->addWidget(label("lblLogic", QStringLiteral("Logic:")));
    logic->addWidget(cmbLogic);
    logic->addWidget(lblLogicNote, 1);

    fltName = textBox("fltName");
    fltName->setMaxLength(255);
    auto* name = new QHBoxLayout;
    name->addWidget(label("lblName", QStringLiteral("Filter name:")));
    name->addWidget(fltName, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(name);
    layout->addWidget(label("lblNote",
                            QStringLiteral("Just fill out the conditions. The 'SELECT/FROM' "
                                           "statement is not editable."),
                            0));
    layout->addLayout(grid);
    layout->addLayout(logic);
}

void filterForm::buildFrame() {
    sqlFrame = named(new QFrame, "sqlFrame");
    sqlFrame->setFrameShape(QFrame::StyledPanel);
    QLabel* prefix = label("lblSelect", QStringLiteral("select * from MyCollection where"));
    prefix->setProperty(FormLang::NoLangTextProperty, true); // a statement, not prose
    fSQL = named(new QPlainTextEdit, "fSQL");
    fSQL->setFixedHeight(70);
    auto* frame = new QVBoxLayout(sqlFrame);
    frame->addWidget(prefix);
    frame->addWidget(fSQL);
    frame->addWidget(label(
        "lblNote",
        QStringLiteral("The SQL syntax must be compliant with the JET/ADO SQL statements."), 2));
    frame->addWidget(label("lblNote",
                           QStringLiteral("If you are not sure of what you're doing, please "
                                          "switch back to 'Basic Mode'."),
                           3));
    sqlFrame->setVisible(false);

    swMode = named(new QPushButton, "swMode");
    swMode->setProperty(FormLang::NoLangTextProperty, true); // texts 148 and 149
    testBUT = named(new QPushButton(QStringLiteral("&Test Filter")), "testBUT");
    okBut = named(new QPushButton(QStringLiteral("&Save")), "okBut");
    closeBut = named(new QPushButton(QStringLiteral("&Close")), "closeBut");
    okBut->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(swMode);
    buttons->addStretch(1);
    buttons->addWidget(testBUT);
    buttons->addWidget(okBut);
    buttons->addWidget(closeBut);

    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(label("lblNote",
                            QStringLiteral("Please note that the conditions you set in 'Expert "
                                           "Mode' are lost if you return to 'Basic Mode'."),
                            1));
    layout->addWidget(sqlFrame);
    layout->addLayout(buttons);
}

void filterForm::fillLists() {
    for (int row = 0; row < filters::RowCount; ++row)
        fill(cmbCondition[row], QStringLiteral("filterForm.cmbCondition(%1)").arg(row),
             operatorEntries(row), 0, row == filters::Row::FileType ? 0 : -1);
    fill(cmbFSize, QStringLiteral("filterForm.cmbFSize"),
         {QStringLiteral("bytes"), QStringLiteral("KB"), QStringLiteral("MB"),
          QStringLiteral("GB")});
    fill(cmbLogic, QStringLiteral("filterForm.cmbLogic"),
         {QStringLiteral("AND"), QStringLiteral("OR")});
}

QList<QWidget*> filterForm::rowControls(int row) const {
    using namespace filters::Row;
    switch (row) {
    case Year:
        return {fTxt[3], lblRange[0]};
    case Genre:
        return {cmbGenre};
    case DateAdded:
    case FileDate:
        return {dtI[row - DateAdded], lblAnd[row - DateAdded], dtF[row - DateAdded],
                dtDays[row - DateAdded]};
    case FileSize:
        return {szTxt, cmbFSize, lblRange[1]};
    case FileType:
        return {};
    case BitRate:
        return {qTxt, lblKbps};
    case Duration:
        return {dTxt, lblTime};
    default:
        return {fTxt[row]};
    }
}
