#pragma once
#include "host/forms/ScriptedPresenter.h"

namespace tov {

// The scripted presenter of the command line: plays the script and shows
// every message box on stderr as "title: text".
class ConsolePresenter : public ScriptedPresenter {
public:
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) override;
  // Prints the script errors of the run; true when there were none.
  bool ReportScriptErrors();
};

} // namespace tov
