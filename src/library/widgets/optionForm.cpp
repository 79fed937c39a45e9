#include "library/widgets/optionForm.h"

#include "core/widgets/WindowHelpers.h"

#include "lang/widgets/FormLang.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

optionForm::optionForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("optionForm"));
    setModal(true);
    // The caption and the choices are language texts the caller picks.
    setProperty(FormLang::NoLangTextProperty, true);
    setWindowTitle(QStringLiteral("Choose an Option"));

    const mainMod::OkCancelButtons buttons = mainMod::MakeOkCancel(this, &m_result);
    okBut = buttons.ok;
    cancelBUT = buttons.cancel;
    connect(okBut, &QPushButton::clicked, this, [this] {
        m_result = 1;
        accept();
    });

    m_options = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_options);
    layout->addStretch(1);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void optionForm::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void optionForm::AddOption(const QString& text) {
    auto* button = new QRadioButton(text, this);
    button->setObjectName(QStringLiteral("opt"));
    button->setProperty("index", static_cast<int>(opt.size()));
    button->setProperty(FormLang::NoLangTextProperty, true);
    opt.append(button);
    m_options->addWidget(button);
}

void optionForm::SelectOption(int index) {
    if (index >= 0 && index < opt.size()) opt[index]->setChecked(true);
}

int optionForm::SelectedIndex() const {
    for (int i = 0; i < opt.size(); ++i)
        if (opt[i]->isChecked()) return i;
    return 0;
}
