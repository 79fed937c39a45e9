// The audio-CD panel that takes the file list's place for a disc.
#include "library/widgets/mainForm.h"

void mainForm::ShowCD(int number) {
    Q_UNUSED(number); // the panel is not filled yet
}
