#pragma once
#include "platform/forms/Control.h"

#include <string>
#include <vector>

namespace tov {

// List box and combo box. Entries are counted from 0; ListIndex is the
// current entry (-1 none). A list box may allow several selected entries
// (MultiSelect 1 simple, 2 extended); the current entry is then only the one
// with the focus. Setting ListIndex raises Click, as on the platform.
class ListControl : public Control {
public:
  ListControl(ControlKind kind, std::string name);

  long ListCount() const;
  std::string List(long index) const;
  void SetList(long index, const std::string& text);
  // Appends, or inserts before index when index >= 0.
  void AddItem(const std::string& text, long index = -1);
  void RemoveItem(long index);
  void Clear();

  long ListIndex() const;
  void SetListIndex(long index);
  bool Selected(long index) const;
  void SetSelected(long index, bool selected);
  long SelCount() const;
  // The selection as a whole, as a user's pick leaves it: exactly the
  // entries in selected, current the entry with the focus (-1 none), which
  // need not be selected (a single-choice list selects current only).
  // Raises no event; returns whether anything changed.
  bool SetSelection(const std::vector<long>& selected, long current);

  int MultiSelect() const { return m_multiSelect; }
  void SetMultiSelect(int mode) { m_multiSelect = mode; }

private:
  void CheckIndex(long index, const char* member) const;

  std::vector<std::string> m_items;
  std::vector<bool> m_selected;
  long m_listIndex = -1;
  int m_multiSelect = 0;
};

using ListControlPtr = std::shared_ptr<ListControl>;

} // namespace tov
