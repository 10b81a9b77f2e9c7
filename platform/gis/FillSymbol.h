#pragma once
#include "platform/gis/Symbol.h"

namespace tov {

// ProgID "orvaCore.SimpleFillSymbol". The outline and the colour are held by
// value: change the returned copy and put it back.
class FillSymbol : public Symbol {
public:
  // One of SimpleFillStyle.
  virtual long Style() const = 0;
  virtual void SetStyle(long style) = 0;
  virtual RgbColorPtr Color() const = 0;
  virtual void SetColor(const RgbColorPtr& color) = 0;
  virtual LineSymbolPtr Outline() const = 0;
  virtual void SetOutline(const LineSymbolPtr& outline) = 0;
};

using FillSymbolPtr = std::shared_ptr<FillSymbol>;

} // namespace tov
