#include "library/widgets/optionForm.h"

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

    okBut = new QPushButton(QStringLiteral("OK"), this);
    okBut->setObjectName(QStringLiteral("okBut"));
    okBut->setDefault(true);
    cancelBUT = new QPushButton(QStringLiteral("Cancel"), this);
    cancelBUT->setObjectName(QStringLiteral("cancelBUT"));
    connect(okBut, &QPushButton::clicked, this, [this] {
        m_result = 1;
        accept();
    });
    connect(cancelBUT, &QPushButton::clicked, this, [this] {
        m_result = 2;
        reject();
    });

    m_options = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okBut);
    buttons->addWidget(cancelBUT);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_options);
    layout->addStretch(1);
    layout->addLayout(buttons);
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
