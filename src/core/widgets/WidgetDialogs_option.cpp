// The option dialog of the seam: one radio button per choice, OK and Cancel.
#include "core/widgets/WidgetDialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

int WidgetDialogs::ChooseOption(const QString& title, const QStringList& choices, int selected) {
    if (choices.isEmpty()) return -1;
    QDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QButtonGroup(&dialog);
    for (int i = 0; i < choices.size(); ++i) {
        auto* option = new QRadioButton(choices.at(i), &dialog);
        option->setChecked(i == selected);
        group->addButton(option, i);
        layout->addWidget(option);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return -1;
    return std::max(0, group->checkedId()); // none on: the first
}
