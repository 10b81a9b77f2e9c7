#include "platform/forms/MapControlHost.h"

#include "platform/runtime/ObjectRegistry.h"

namespace tov {

MapControlHost::MapControlHost(std::string name, std::string progId)
    : Control(ControlKind::MapControl, std::move(name)), m_progId(std::move(progId)) {}

ObjectPtr MapControlHost::MapObject() {
  Touch();
  if (!m_map && !m_progId.empty()) m_map = CreateObject(m_progId);
  return m_map;
}

void MapControlHost::SetMapObject(ObjectPtr mapControl) {
  Touch();
  m_map = std::move(mapControl);
}

} // namespace tov
