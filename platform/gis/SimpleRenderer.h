#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "orvaCore.SimpleRenderer": draws every feature of a layer with one
// symbol. Symbol returns the renderer's own symbol object.
class SimpleRenderer : public virtual Object {
public:
  virtual SymbolPtr Symbol() const = 0;
  virtual void SetSymbol(const SymbolPtr& symbol) = 0;
  virtual std::string Label() const = 0;
  virtual void SetLabel(const std::string& label) = 0;
};

using SimpleRendererPtr = std::shared_ptr<SimpleRenderer>;

} // namespace tov
