#pragma once
#include "platform/forms/Font.h"
#include "store/TextResources.h" // GetTextResources, for every page

#include <cstdint>
#include <string>
#include <vector>

namespace tov {

class Form;

// What every page shares to look right for the user: fonts for the user's
// locale, texts from the text resources, help.

// Fonts of the form and all its controls for the user's locale. English
// locales keep the designed fonts. Ignores every failure.
void ApplyLocaleFonts(Form& form);
// Charset, then name, then size of one font for an ANSI code page.
void SetFontForCodePage(Font& font, long codePage);
// The locale's default ANSI code page; 13 when the system does not know it.
long GetAnsiCodePage(uint32_t locale);
// The text up to its first character 0.
std::string CutAtNul(const std::string& text);
// A caption made fit for a tool tip: blanks trimmed, access-key marks
// removed ("&&" stays as "&"), a trailing "..." dropped.
std::string CleanToolTip(const std::string& text);
// Replaces every text of the form (the ids put there at design time) by its
// text from the resources. A control that lacks a property is passed over.
void ApplyResourceTexts(Form& form);
// Opens a help topic in the help window "notes" of the help file.
void ShowHelpTopic(const std::string& helpFile, const std::string& topic, long hWnd);

// Sizes and places a page from the layout resources: the form height is the
// value of baseId - 315 + the caption bar height in twips, the width that of
// baseId + 1; then the k-th control of controlOrder (from 0) gets height,
// left, top and width from baseId + 2 + 4k to baseId + 5 + 4k. A missing or
// non-numeric value raises 13 naming its id.
void ApplyPageLayout(Form& form, long baseId, const std::vector<std::string>& controlOrder);

} // namespace tov
