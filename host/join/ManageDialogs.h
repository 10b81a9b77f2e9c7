#pragma once
#include "platform/forms/Form.h"

#include <string>

namespace tov {

// The management dialogs as the host's commands and tools see them beyond
// the form model.

// The delete confirmation's answer after it was shown: "Yes", "No", "Yes to
// all" or "(closed)"; "" when the form is not the delete confirmation.
std::string DeleteConfirmationAnswer(Form& form);
bool IsDeleteConfirmation(Form& form);

// Shows the study area contents dialog with this text, modally, as the
// component shows a list of study areas.
void ShowStudyAreaContents(const std::string& text);

} // namespace tov
