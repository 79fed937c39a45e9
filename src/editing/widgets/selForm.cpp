#include "editing/widgets/selForm.h"

#include "core/widgets/WindowHelpers.h"

#include "lang/widgets/FormLang.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

selForm::selForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("selForm"));
    setWindowTitle(QStringLiteral("Choose a Value"));
    setModal(true);

    sList = new QListWidget(this);
    sList->setObjectName(QStringLiteral("sList"));
    sList->installEventFilter(this);
    Value = new QLineEdit(this);
    Value->setObjectName(QStringLiteral("Value"));
    Value->setProperty(FormLang::NoLangTextProperty, true);
    const mainMod::OkCancelButtons buttons = mainMod::MakeOkCancel(this, &m_result);
    okBut = buttons.ok;
    cancelBUT = buttons.cancel;
    okBut->setEnabled(false);

    connect(sList, &QListWidget::itemClicked, this, &selForm::pick);
    connect(sList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        pick(item);
        if (okBut->isEnabled()) pressOk();
    });
    // Moving through the list with the keys picks as a click does.
    connect(sList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (m_keyMove && item) pick(item);
    });
    connect(Value, &QLineEdit::textChanged, this, [this] { okBut->setEnabled(true); });
    connect(okBut, &QPushButton::clicked, this, &selForm::pressOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sList, 1);
    layout->addWidget(Value);
    layout->addLayout(buttons.row);
    resize(320, 360);
}

void selForm::setValues(const QStringList& values) {
    sList->clear();
    for (int i = 0; i < values.size(); ++i) {
        auto* item = new QListWidgetItem(values[i], sList);
        item->setData(Qt::UserRole, i);
    }
}

void selForm::setChoices(const QList<QPair<QString, int>>& choices) {
    sList->clear();
    for (const auto& [text, number] : choices) {
        auto* item = new QListWidgetItem(text, sList);
        item->setData(Qt::UserRole, number);
    }
    Value->setEnabled(false);
    m_valueTag = QStringLiteral("255");
}

QString selForm::value() const {
    return Value->text();
}

void selForm::pick(QListWidgetItem* item) {
    if (!item || sList->count() == 0) return;
    Value->setText(item->text());
    m_valueTag = QString::number(item->data(Qt::UserRole).toInt());
}

void selForm::pressOk() {
    m_result = 1;
    accept();
}

void selForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_activated) return;
    m_activated = true;
    Value->selectAll();
    if (Value->isEnabled())
        Value->setFocus();
    else
        sList->setFocus();
}

bool selForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QListWidgetItem* item = sList->currentItem()) pick(item);
            if (okBut->isEnabled()) pressOk();
            return true;
        }
        const QScopedValueRollback<bool> moving(m_keyMove, true);
        static_cast<QObject*>(sList)->event(event);
        // A key the list does not take (Escape) goes on to the dialog.
        return event->isAccepted();
    }
    return QDialog::eventFilter(watched, event);
}
