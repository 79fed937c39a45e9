// The CD information dialog as the main window uses it.
#include "cddb/CdInfo.h"
#include "library/widgets/mainForm.h"

bool mainForm::LookUpDisc(const QString& query, CdInfo& info) {
    Q_UNUSED(query);
    Q_UNUSED(info);
    return false; // no look-up yet
}
