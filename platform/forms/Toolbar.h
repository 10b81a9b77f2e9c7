#pragma once
#include "platform/forms/Control.h"
#include "platform/forms/ToolbarButton.h"

#include <string>
#include <vector>

namespace tov {

// A toolbar: buttons counted from 1, each also found by its key (compared
// without regard to case). A missing index or key raises 35600/35601 like
// the platform's common controls.
class Toolbar : public Control {
public:
  explicit Toolbar(std::string name);

  long ButtonCount() const;
  ToolbarButton& AddButton(const std::string& key, const std::string& caption = std::string(), int style = tbr::Default,
                           const std::string& image = std::string());
  const ToolbarButton& Button(long index) const;
  const ToolbarButton& Button(const std::string& key) const;
  long ButtonIndex(const std::string& key) const;

  // Changes made through these tell the presenter.
  void SetButtonValue(const std::string& key, int32_t value);
  void SetButtonEnabled(const std::string& key, bool enabled);
  void SetButtonCaption(long index, const std::string& caption);
  void SetButtonToolTip(long index, const std::string& text);
  void SetButtonMenuText(long index, long menuIndex, const std::string& text);

  std::string ImageList() const { return m_imageList; }
  void SetImageList(const std::string& name) { m_imageList = name; }

  // What a user's click does to the values: a check button toggles, a group
  // button becomes the only pressed one of its group.
  void PressByUser(long index);

private:
  ToolbarButton& At(long index);

  std::vector<ToolbarButton> m_buttons;
  std::string m_imageList;
};

using ToolbarPtr = std::shared_ptr<Toolbar>;

} // namespace tov
