// The option question of the seam: the program's own one-of-N window.
#include "core/widgets/WidgetDialogs.h"
#include "lang/widgets/FormLang.h"
#include "library/widgets/optionForm.h"

int WidgetDialogs::ChooseOption(const QString& title, const QStringList& choices, int selected) {
    if (choices.isEmpty()) return -1;
    optionForm dialog(m_parent);
    FormLang::SetFormLang(&dialog);
    dialog.SetCaption(title);
    for (const QString& choice : choices)
        dialog.AddOption(choice);
    dialog.SelectOption(selected);
    dialog.exec();
    return dialog.result() == 1 ? dialog.SelectedIndex() : -1;
}
