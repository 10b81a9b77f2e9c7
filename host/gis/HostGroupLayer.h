#pragma once
#include "platform/gis/GroupLayer.h"

#include <vector>

namespace tov {

class HostGroupLayer : public GroupLayer {
public:
  std::string Name() const override { return m_name; }
  void SetName(const std::string& name) override { m_name = name; }
  bool Visible() const override { return m_visible; }
  void SetVisible(bool visible) override { m_visible = visible; }
  bool Valid() const override { return true; }

  void Add(const LayerPtr& layer) override;
  void Delete(const LayerPtr& layer) override;
  void Clear() override { m_children.clear(); }
  long Count() const override { return static_cast<long>(m_children.size()); }
  LayerPtr Layer(long index) const override;

  // Removes layer from this group or any group below; true when found.
  bool DeleteNested(const LayerPtr& layer);

private:
  std::string m_name;
  bool m_visible = true;
  std::vector<LayerPtr> m_children;
};

} // namespace tov
