#include "platform/forms/ListView.h"

#include "platform/runtime/HostError.h"

namespace tov {

ListView::ListView(std::string name) : Control(ControlKind::ListView, std::move(name)) {}

long ListView::ColumnCount() const {
  Touch();
  return static_cast<long>(m_columns.size());
}

void ListView::AddColumn(const std::string& key, const std::string& text, float width) {
  Touch();
  m_columns.push_back(ColumnHeader{key, text, width});
  Changed(Property::Columns);
}

ColumnHeader& ListView::ColumnAt(long index) {
  if (index < 1 || index > static_cast<long>(m_columns.size()))
    throw HostError(35600, Name(), "Column " + std::to_string(index) + " of \"" + Name() + "\" does not exist");
  return m_columns[index - 1];
}

const ColumnHeader& ListView::Column(long index) const {
  Touch();
  return const_cast<ListView*>(this)->ColumnAt(index);
}

void ListView::SetColumnText(long index, const std::string& text) {
  Touch();
  ColumnAt(index).Text = text;
  Changed(Property::Columns);
}

long ListView::ItemCount() const {
  Touch();
  return static_cast<long>(m_items.size());
}

void ListView::AddItem(const std::string& key, const std::string& text) {
  Touch();
  ListItem item;
  item.Key = key;
  item.Text = text;
  m_items.push_back(item);
  Changed(Property::Items);
}

ListItem& ListView::ItemAt(long index) {
  if (index < 1 || index > static_cast<long>(m_items.size()))
    throw HostError(35600, Name(), "Item " + std::to_string(index) + " of \"" + Name() + "\" does not exist");
  return m_items[index - 1];
}

const ListItem& ListView::Item(long index) const {
  Touch();
  return const_cast<ListView*>(this)->ItemAt(index);
}

void ListView::SetItemText(long index, const std::string& text) {
  Touch();
  ItemAt(index).Text = text;
  Changed(Property::Items);
}

void ListView::SetItemToolTip(long index, const std::string& text) {
  Touch();
  ItemAt(index).ToolTipText = text;
  Changed(Property::Items);
}

void ListView::SetItemSubItems(long index, const std::vector<std::string>& subItems) {
  Touch();
  ItemAt(index).SubItems = subItems;
  Changed(Property::Items);
}

void ListView::SetItemChecked(long index, bool checked) {
  Touch();
  ItemAt(index).Checked = checked;
  Changed(Property::Items);
}

void ListView::SetItemSelected(long index, bool selected) {
  Touch();
  ItemAt(index).Selected = selected;
  Changed(Property::Selection);
}

void ListView::RemoveItem(long index) {
  Touch();
  ItemAt(index);
  m_items.erase(m_items.begin() + (index - 1));
  Changed(Property::Items);
}

void ListView::ClearItems() {
  Touch();
  m_items.clear();
  Changed(Property::Items);
}

long ListView::SelectedItem() const {
  Touch();
  for (size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].Selected) return static_cast<long>(i) + 1;
  return 0;
}

} // namespace tov
