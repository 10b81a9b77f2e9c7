#pragma once
#include "platform/gis/Symbol.h"

namespace tov {

// ProgID "orvaCore.SimpleLineSymbol". Colours are held by value: the getter
// returns a copy and the setter takes one.
class LineSymbol : public Symbol {
public:
  // One of SimpleLineStyle.
  virtual long Style() const = 0;
  virtual void SetStyle(long style) = 0;
  virtual RgbColorPtr Color() const = 0;
  virtual void SetColor(const RgbColorPtr& color) = 0;
  virtual double Width() const = 0;
  virtual void SetWidth(double width) = 0;
};

using LineSymbolPtr = std::shared_ptr<LineSymbol>;

} // namespace tov
