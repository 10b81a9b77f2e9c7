#pragma once
#include "platform/forms/Control.h"

#include <string>
#include <vector>

namespace tov {

struct ColumnHeader {
  std::string Key;
  std::string Text;
  float Width = 1440;
};

struct ListItem {
  std::string Key;
  std::string Text;
  std::string ToolTipText;
  std::vector<std::string> SubItems;
  bool Checked = false;
  bool Selected = false;
};

// A list view in report style: column headers and items, both counted from 1.
class ListView : public Control {
public:
  explicit ListView(std::string name);

  long ColumnCount() const;
  void AddColumn(const std::string& key, const std::string& text, float width = 1440);
  const ColumnHeader& Column(long index) const;
  void SetColumnText(long index, const std::string& text);

  long ItemCount() const;
  void AddItem(const std::string& key, const std::string& text);
  const ListItem& Item(long index) const;
  void SetItemText(long index, const std::string& text);
  void SetItemToolTip(long index, const std::string& text);
  void SetItemSubItems(long index, const std::vector<std::string>& subItems);
  void SetItemChecked(long index, bool checked);
  void SetItemSelected(long index, bool selected);
  void RemoveItem(long index);
  void ClearItems();
  // The first selected item, 0 when none.
  long SelectedItem() const;

  bool Checkboxes() const { return m_checkboxes; }
  void SetCheckboxes(bool on) { m_checkboxes = on; }

private:
  ListItem& ItemAt(long index);
  ColumnHeader& ColumnAt(long index);

  std::vector<ColumnHeader> m_columns;
  std::vector<ListItem> m_items;
  bool m_checkboxes = false;
};

using ListViewPtr = std::shared_ptr<ListView>;

} // namespace tov
