#pragma once
// The words of the conversion: messages by language text number, titles and
// row states by key, each with its English text when no language holds one.
#include "convert/ConvertQueue.h"

#include <QString>

namespace convert {

enum ConvertMessage {
    InvalidFileNameText = 981,
    InvalidTargetFolderText = 982,
    NotCompletedText = 983,
    CanceledText = 984,
    CompletedWithErrorsText = 985,
    CompletedText = 986,
    CancelQuestionText = 987,
    SelectFolderText = 988,
};

QString MessageText(ConvertMessage number);
// Message box titles: "Save As", "Save To", "Error", "Canceled", "Results",
// "Success", "Cancel" under the keys "frmConvert.Title(SaveAs)" and so on.
QString TitleText(const char* english);
// The state word shown in the list ("frmConvert.State(ready)" and so on).
QString StateText(RowState state);

} // namespace convert
