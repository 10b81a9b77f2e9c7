#pragma once
#include "platform/forms/Control.h"

#include <string>
#include <utility>
#include <vector>

namespace tov {

// A store of pictures for toolbars and list views; never shown itself.
class ImageList : public Control {
public:
  explicit ImageList(std::string name) : Control(ControlKind::ImageList, std::move(name)) {}

  // key -> picture (resource name or path), counted from 1.
  void Add(const std::string& key, const std::string& picture) { m_images.emplace_back(key, picture); }
  long Count() const { return static_cast<long>(m_images.size()); }
  const std::vector<std::pair<std::string, std::string>>& Images() const { return m_images; }

private:
  std::vector<std::pair<std::string, std::string>> m_images;
};

using ImageListPtr = std::shared_ptr<ImageList>;

} // namespace tov
