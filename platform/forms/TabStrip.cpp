#include "platform/forms/TabStrip.h"

#include "platform/runtime/HostError.h"

namespace tov {

TabStrip::TabStrip(std::string name) : Control(ControlKind::TabStrip, std::move(name)) {}

long TabStrip::TabCount() const {
  Touch();
  return static_cast<long>(m_tabs.size());
}

void TabStrip::AddTab(const std::string& key, const std::string& caption) {
  Touch();
  m_tabs.push_back(Tab{key, caption, std::string()});
  if (m_selected == 0) m_selected = 1;
  Changed(Property::Tabs);
}

Tab& TabStrip::At(long index) {
  if (index < 1 || index > static_cast<long>(m_tabs.size()))
    throw HostError(35600, Name(), "Tab " + std::to_string(index) + " of \"" + Name() + "\" does not exist");
  return m_tabs[index - 1];
}

const Tab& TabStrip::TabAt(long index) const {
  Touch();
  return const_cast<TabStrip*>(this)->At(index);
}

void TabStrip::SetTabCaption(long index, const std::string& caption) {
  Touch();
  At(index).Caption = caption;
  Changed(Property::Tabs);
}

void TabStrip::SetTabToolTip(long index, const std::string& text) {
  Touch();
  At(index).ToolTipText = text;
  Changed(Property::Tabs);
}

long TabStrip::SelectedItem() const {
  Touch();
  return m_selected;
}

void TabStrip::SetSelectedItem(long index) {
  Touch();
  At(index);
  if (index == m_selected) return;
  m_selected = index;
  Changed(Property::Selection);
  Raise(EventKind::Click);
}

} // namespace tov
