#include "platform/forms/ListControl.h"

#include "platform/runtime/HostError.h"

namespace tov {

ListControl::ListControl(ControlKind kind, std::string name) : Control(kind, std::move(name)) {}

void ListControl::CheckIndex(long index, const char* member) const {
  if (index < 0 || index >= static_cast<long>(m_items.size()))
    throw HostError(381, Name(),
                    std::string(member) + ": entry " + std::to_string(index) + " of \"" + Name() + "\" does not exist (" +
                        std::to_string(m_items.size()) + " entries)");
}

long ListControl::ListCount() const {
  Touch();
  return static_cast<long>(m_items.size());
}

std::string ListControl::List(long index) const {
  Touch();
  // Reading past the end gives an empty text, as the platform does.
  if (index < 0 || index >= static_cast<long>(m_items.size())) return std::string();
  return m_items[index];
}

void ListControl::SetList(long index, const std::string& text) {
  Touch();
  CheckIndex(index, "List");
  if (m_items[index] == text) return;
  m_items[index] = text;
  Changed(Property::List);
}

void ListControl::AddItem(const std::string& text, long index) {
  Touch();
  if (index > static_cast<long>(m_items.size()))
    throw HostError(5, Name(), "AddItem: position " + std::to_string(index) + " lies past the end of \"" + Name() + "\"");
  if (index < 0) index = static_cast<long>(m_items.size());
  m_items.insert(m_items.begin() + index, text);
  m_selected.insert(m_selected.begin() + index, false);
  if (m_listIndex >= index) ++m_listIndex;
  Changed(Property::List);
}

void ListControl::RemoveItem(long index) {
  Touch();
  CheckIndex(index, "RemoveItem");
  m_items.erase(m_items.begin() + index);
  m_selected.erase(m_selected.begin() + index);
  if (m_listIndex == index) m_listIndex = -1;
  else if (m_listIndex > index) --m_listIndex;
  Changed(Property::List);
}

void ListControl::Clear() {
  Touch();
  if (m_items.empty() && m_listIndex == -1) return;
  m_items.clear();
  m_selected.clear();
  m_listIndex = -1;
  Changed(Property::List);
}

long ListControl::ListIndex() const {
  Touch();
  return m_listIndex;
}

void ListControl::SetListIndex(long index) {
  Touch();
  if (index < -1 || index >= static_cast<long>(m_items.size()))
    throw HostError(380, Name(), "ListIndex " + std::to_string(index) + " is not an entry of \"" + Name() + "\"");
  bool changed = index != m_listIndex;
  if (m_multiSelect == 0) {
    for (size_t i = 0; i < m_selected.size(); ++i) m_selected[i] = static_cast<long>(i) == index;
  } else if (index >= 0 && !m_selected[index]) {
    m_selected[index] = true;
    changed = true;
  }
  if (!changed) return;
  m_listIndex = index;
  Changed(Property::Selection);
  if (Kind() == ControlKind::ComboBox && index >= 0) ShowTextOfEntry(m_items[index]);
  Raise(EventKind::Click);
}

bool ListControl::Selected(long index) const {
  Touch();
  CheckIndex(index, "Selected");
  return m_selected[index];
}

void ListControl::SetSelected(long index, bool selected) {
  Touch();
  CheckIndex(index, "Selected");
  if (m_multiSelect == 0) {
    // A single-choice list: selecting an entry makes it the current one.
    if (selected) SetListIndex(index);
    else if (m_listIndex == index) {
      m_selected[index] = false;
      m_listIndex = -1;
      Changed(Property::Selection);
    }
    return;
  }
  if (m_selected[index] == selected && (!selected || m_listIndex == index)) return;
  m_selected[index] = selected;
  if (selected) m_listIndex = index;
  Changed(Property::Selection);
}

bool ListControl::SetSelection(const std::vector<long>& selected, long current) {
  Touch();
  if (current < -1 || current >= static_cast<long>(m_items.size()))
    throw HostError(380, Name(), "ListIndex " + std::to_string(current) + " is not an entry of \"" + Name() + "\"");
  std::vector<bool> wanted(m_items.size(), false);
  for (long index : selected) {
    CheckIndex(index, "Selected");
    wanted[index] = true;
  }
  // A single-choice list holds its current entry only.
  if (m_multiSelect == 0) {
    wanted.assign(m_items.size(), false);
    if (current >= 0) wanted[current] = true;
  }
  if (wanted == m_selected && current == m_listIndex) return false;
  m_selected = std::move(wanted);
  m_listIndex = current;
  Changed(Property::Selection);
  return true;
}

long ListControl::SelCount() const {
  Touch();
  long n = 0;
  for (bool s : m_selected) n += s ? 1 : 0;
  return n;
}

} // namespace tov
