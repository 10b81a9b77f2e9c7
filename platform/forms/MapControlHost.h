#pragma once
#include "platform/forms/Control.h"

#include <string>

namespace tov {

// The slot on a form where the host's map control lives. The map control
// itself is a GIS object; the slot creates it by ProgID on first use (or is
// given one) and raises its OnMouseDown event to the page.
class MapControlHost : public Control {
public:
  MapControlHost(std::string name, std::string progId = std::string());

  // The map control object; created from the ProgID on first call.
  ObjectPtr MapObject();
  void SetMapObject(ObjectPtr mapControl);
  const std::string& ProgId() const { return m_progId; }

private:
  std::string m_progId;
  ObjectPtr m_map;
};

using MapControlHostPtr = std::shared_ptr<MapControlHost>;

} // namespace tov
