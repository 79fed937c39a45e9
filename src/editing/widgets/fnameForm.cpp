#include "editing/widgets/fnameForm.h"

#include "core/widgets/WindowHelpers.h"

#include "core/Dialogs.h"
#include "editing/RenamePlan.h"
#include "lang/AppLang.h"
#include "lang/widgets/FormLang.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

const QString fnameForm::DefaultPattern = QStringLiteral("%A - %N - %T");

fnameForm::fnameForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fnameForm"));
    setWindowTitle(QStringLiteral("Set Filename"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Please use the folowing tags to build the filename"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label2 = new QLabel(
        QStringLiteral("%N - Track Number   %T - Title   %A - Artist   %B - Album   %Y - Year"),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Result = new QLineEdit(DefaultPattern, this);
    Result->setObjectName(QStringLiteral("Result"));
    Result->installEventFilter(this);
    Result->setProperty(FormLang::NoLangTextProperty, true); // the pattern is not translated
    Label3 =
        new QLabel(QStringLiteral("Example: %A - %N - %T gives \"Artist - 01 - Title.mp3\""), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    const mainMod::OkCancelButtons buttons = mainMod::MakeOkCancel(this, &m_result);
    okBut = buttons.ok;
    cancelBUT = buttons.cancel;

    connect(Result, &QLineEdit::textChanged, this, [this] { okBut->setEnabled(true); });
    connect(okBut, &QPushButton::clicked, this, &fnameForm::pressOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Result);
    layout->addWidget(Label3);
    layout->addStretch(1);
    layout->addLayout(buttons.row);
    setMinimumWidth(480);
}

QString fnameForm::pattern() const {
    return Result->text();
}

void fnameForm::pressOk() {
    if (!RenamePlan::HasTag(Result->text())) {
        auto text = [](int number, const char* english) {
            const QString t = mainMod::LangText(number);
            return t.isEmpty() ? QString::fromLatin1(english) : t;
        };
        Dialogs::current().MsgBox(
            text(960, "You must use at least one of the available tags (%N, %T, %A, %B or %Y)."),
            Dialogs::OkOnly | Dialogs::Exclamation, text(961, "Tags missing"));
        Result->setFocus();
        return;
    }
    m_result = 1;
    accept();
}

void fnameForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_activated) return;
    m_activated = true;
    Result->setFocus();
    Result->selectAll();
}

bool fnameForm::eventFilter(QObject* watched, QEvent* event) {
    // Whenever the pattern gets the focus its whole text is selected; after the
    // line edit's own handling, which would place the cursor.
    if (watched == Result && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, Result, [this] { Result->selectAll(); });
    return QDialog::eventFilter(watched, event);
}
