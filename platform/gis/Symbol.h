#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// Base of the symbols a renderer draws with.
class Symbol : public virtual Object {
public:
  virtual SymbolPtr Clone() const = 0;
};

using SymbolPtr = std::shared_ptr<Symbol>;

} // namespace tov
