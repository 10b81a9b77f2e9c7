#include "host/app/ConsolePresenter.h"

#include <iostream>

namespace tov {

int32_t ConsolePresenter::MsgBox(const std::string& text, int32_t style, const std::string& title) {
  std::string oneLine = text;
  for (std::string::size_type at; (at = oneLine.find("\r\n")) != std::string::npos;) oneLine.replace(at, 2, " ");
  std::cerr << title << ": " << oneLine << "\n";
  return ScriptedPresenter::MsgBox(text, style, title);
}

bool ConsolePresenter::ReportScriptErrors() {
  CheckFinished();
  for (const std::string& e : Errors()) std::cerr << "script: " << e << "\n";
  return Errors().empty();
}

} // namespace tov
