#include "platform/forms/Toolbar.h"

#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

namespace tov {

namespace {
bool SameKey(const std::string& a, const std::string& b) { return EqualsIgnoreCase(a, b); }
} // namespace

Toolbar::Toolbar(std::string name) : Control(ControlKind::Toolbar, std::move(name)) {}

long Toolbar::ButtonCount() const {
  Touch();
  return static_cast<long>(m_buttons.size());
}

ToolbarButton& Toolbar::AddButton(const std::string& key, const std::string& caption, int style, const std::string& image) {
  Touch();
  if (!key.empty() && ButtonIndex(key) != 0)
    throw HostError(35602, Name(), "The key \"" + key + "\" is already used in \"" + Name() + "\"");
  ToolbarButton b;
  b.Key = key;
  b.Caption = caption;
  b.Style = style;
  b.Image = image;
  m_buttons.push_back(b);
  Changed(Property::Buttons);
  return m_buttons.back();
}

long Toolbar::ButtonIndex(const std::string& key) const {
  for (size_t i = 0; i < m_buttons.size(); ++i)
    if (SameKey(m_buttons[i].Key, key)) return static_cast<long>(i) + 1;
  return 0;
}

ToolbarButton& Toolbar::At(long index) {
  if (index < 1 || index > static_cast<long>(m_buttons.size()))
    throw HostError(35600, Name(), "Button " + std::to_string(index) + " of \"" + Name() + "\" does not exist");
  return m_buttons[index - 1];
}

const ToolbarButton& Toolbar::Button(long index) const {
  Touch();
  return const_cast<Toolbar*>(this)->At(index);
}

const ToolbarButton& Toolbar::Button(const std::string& key) const {
  Touch();
  long i = ButtonIndex(key);
  if (i == 0) throw HostError(35601, Name(), "\"" + Name() + "\" has no button with the key \"" + key + "\"");
  return m_buttons[i - 1];
}

void Toolbar::SetButtonValue(const std::string& key, int32_t value) {
  Touch();
  long i = ButtonIndex(key);
  if (i == 0) throw HostError(35601, Name(), "\"" + Name() + "\" has no button with the key \"" + key + "\"");
  ToolbarButton& b = At(i);
  value = value ? 1 : 0;
  if (b.Value == value) return;
  b.Value = value;
  if (value && b.Style == tbr::ButtonGroup) {
    // Neighbouring group buttons exclude each other.
    for (long j = i - 1; j >= 1 && At(j).Style == tbr::ButtonGroup; --j) At(j).Value = 0;
    for (long j = i + 1; j <= static_cast<long>(m_buttons.size()) && At(j).Style == tbr::ButtonGroup; ++j) At(j).Value = 0;
  }
  Changed(Property::Buttons);
}

void Toolbar::SetButtonEnabled(const std::string& key, bool enabled) {
  Touch();
  long i = ButtonIndex(key);
  if (i == 0) throw HostError(35601, Name(), "\"" + Name() + "\" has no button with the key \"" + key + "\"");
  if (At(i).Enabled == enabled) return;
  At(i).Enabled = enabled;
  Changed(Property::Buttons);
}

void Toolbar::SetButtonCaption(long index, const std::string& caption) {
  Touch();
  At(index).Caption = caption;
  Changed(Property::Buttons);
}

void Toolbar::SetButtonToolTip(long index, const std::string& text) {
  Touch();
  At(index).ToolTipText = text;
  Changed(Property::Buttons);
}

void Toolbar::SetButtonMenuText(long index, long menuIndex, const std::string& text) {
  Touch();
  ToolbarButton& b = At(index);
  if (menuIndex < 1 || menuIndex > static_cast<long>(b.ButtonMenus.size()))
    throw HostError(35600, Name(), "Menu " + std::to_string(menuIndex) + " of button " + std::to_string(index) +
                                       " of \"" + Name() + "\" does not exist");
  b.ButtonMenus[menuIndex - 1].Text = text;
  Changed(Property::Buttons);
}

void Toolbar::PressByUser(long index) {
  ToolbarButton& b = At(index);
  if (b.Style == tbr::Check) SetButtonValue(b.Key, b.Value ? 0 : 1);
  else if (b.Style == tbr::ButtonGroup) SetButtonValue(b.Key, 1);
}

} // namespace tov
