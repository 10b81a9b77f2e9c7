#pragma once
#include <cstdint>
#include <string>

namespace tov {

// Message box styles: one button set plus one icon.
constexpr int32_t vbOKOnly = 0;
constexpr int32_t vbOKCancel = 1;
constexpr int32_t vbYesNoCancel = 3;
constexpr int32_t vbYesNo = 4;
constexpr int32_t vbCritical = 16;
constexpr int32_t vbQuestion = 32;
constexpr int32_t vbExclamation = 48;
constexpr int32_t vbInformation = 64;

// Buttons pressed.
constexpr int32_t vbOK = 1;
constexpr int32_t vbCancel = 2;
constexpr int32_t vbYes = 6;
constexpr int32_t vbNo = 7;

// Shows a message box through the current presenter; returns the button.
int32_t MsgBox(const std::string& text, int32_t style = vbOKOnly, const std::string& title = std::string());

// Parts of a style, and names for records and scripts.
int32_t MsgBoxButtons(int32_t style); // vbOKOnly, vbOKCancel, vbYesNoCancel or vbYesNo
int32_t MsgBoxIcon(int32_t style);    // 0 or one of the icon values
const char* MsgBoxIconName(int32_t style);    // "critical", "exclamation", "question", "information", ""
const char* MsgBoxButtonsName(int32_t style); // "OK", "OKCancel", "YesNoCancel", "YesNo"
const char* MsgBoxAnswerName(int32_t answer); // "OK", "Cancel", "Yes", "No"
// The answer by name (case ignored); 0 when the name is none of the four.
int32_t MsgBoxAnswerFromName(const std::string& name);
// True when the answer is one of the buttons of the style.
bool MsgBoxOffers(int32_t style, int32_t answer);
// What closing the box with its close box or Escape answers: Cancel where
// there is one, else No where there is one, else OK.
int32_t MsgBoxCloseAnswer(int32_t style);

} // namespace tov
