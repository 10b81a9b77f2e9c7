#include "platform/forms/MsgBox.h"

#include "platform/forms/Presenter.h"
#include "platform/runtime/TextCase.h"

namespace tov {

int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) {
  return GetPresenter()->MsgBox(text, style, title);
}

int32_t MsgBoxButtons(int32_t style) {
  int32_t b = style & 7;
  return (b == vbOKCancel || b == vbYesNoCancel || b == vbYesNo) ? b : vbOKOnly;
}

int32_t MsgBoxIcon(int32_t style) {
  int32_t i = style & 0x70;
  return (i == vbCritical || i == vbQuestion || i == vbExclamation || i == vbInformation) ? i : 0;
}

const char* MsgBoxIconName(int32_t style) {
  switch (MsgBoxIcon(style)) {
  case vbCritical: return "critical";
  case vbQuestion: return "question";
  case vbExclamation: return "exclamation";
  case vbInformation: return "information";
  default: return "";
  }
}

const char* MsgBoxButtonsName(int32_t style) {
  switch (MsgBoxButtons(style)) {
  case vbOKCancel: return "OKCancel";
  case vbYesNoCancel: return "YesNoCancel";
  case vbYesNo: return "YesNo";
  default: return "OK";
  }
}

const char* MsgBoxAnswerName(int32_t answer) {
  switch (answer) {
  case vbOK: return "OK";
  case vbCancel: return "Cancel";
  case vbYes: return "Yes";
  case vbNo: return "No";
  default: return "";
  }
}

int32_t MsgBoxAnswerFromName(const std::string& name) {
  const std::string n = LowerCase(name);
  if (n == "ok") return vbOK;
  if (n == "cancel") return vbCancel;
  if (n == "yes") return vbYes;
  if (n == "no") return vbNo;
  return 0;
}

bool MsgBoxOffers(int32_t style, int32_t answer) {
  switch (MsgBoxButtons(style)) {
  case vbOKCancel: return answer == vbOK || answer == vbCancel;
  case vbYesNoCancel: return answer == vbYes || answer == vbNo || answer == vbCancel;
  case vbYesNo: return answer == vbYes || answer == vbNo;
  default: return answer == vbOK;
  }
}

int32_t MsgBoxCloseAnswer(int32_t style) {
  if (MsgBoxOffers(style, vbCancel)) return vbCancel;
  return MsgBoxOffers(style, vbNo) ? vbNo : vbOK;
}

} // namespace tov
