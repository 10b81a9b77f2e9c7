#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// ProgID "orvaCore.GraphicElement": a drawn shape on a map (polygon, line,
// point or rectangle element according to its geometry).
class GraphicElement : public virtual Object {
public:
  virtual GeometryPtr Geometry() const = 0;
  virtual void SetGeometry(const GeometryPtr& geometry) = 0;
  virtual SymbolPtr Symbol() const = 0;
  virtual void SetSymbol(const SymbolPtr& symbol) = 0;
};

using GraphicElementPtr = std::shared_ptr<GraphicElement>;

} // namespace tov
