// The rip wizard as the main window starts it.
#include "cd/RipRequest.h"
#include "library/widgets/mainForm.h"

void mainForm::ShowRipWizard(const RipRequest& request) {
    Q_UNUSED(request); // no wizard yet
}
