#pragma once
#include "platform/forms/Control.h"

#include <string>
#include <vector>

namespace tov {

struct Tab {
  std::string Key;
  std::string Caption;
  std::string ToolTipText;
};

// A tab strip: tabs counted from 1; SelectedItem is the current tab (0 none).
// Selecting a different tab raises Click.
class TabStrip : public Control {
public:
  explicit TabStrip(std::string name);

  long TabCount() const;
  void AddTab(const std::string& key, const std::string& caption);
  const Tab& TabAt(long index) const;
  void SetTabCaption(long index, const std::string& caption);
  void SetTabToolTip(long index, const std::string& text);
  long SelectedItem() const;
  void SetSelectedItem(long index);

private:
  Tab& At(long index);

  std::vector<Tab> m_tabs;
  long m_selected = 0;
};

using TabStripPtr = std::shared_ptr<TabStrip>;

} // namespace tov
