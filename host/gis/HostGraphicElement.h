#pragma once
#include "platform/gis/Geometry.h"
#include "platform/gis/GraphicElement.h"

namespace tov {

class HostGraphicElement : public GraphicElement {
public:
  GeometryPtr Geometry() const override { return m_geometry; }
  void SetGeometry(const GeometryPtr& geometry) override { m_geometry = geometry ? geometry->Copy() : nullptr; }
  SymbolPtr Symbol() const override { return m_symbol; }
  void SetSymbol(const SymbolPtr& symbol) override { m_symbol = symbol; }

private:
  GeometryPtr m_geometry;
  SymbolPtr m_symbol;
};

} // namespace tov
