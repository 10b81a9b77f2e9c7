#pragma once
#include "platform/gis/Symbol.h"

namespace tov {

// ProgID "orvaCore.SimpleMarkerSymbol".
class MarkerSymbol : public Symbol {
public:
  // One of SimpleMarkerStyle.
  virtual long Style() const = 0;
  virtual void SetStyle(long style) = 0;
  virtual double Size() const = 0;
  virtual void SetSize(double size) = 0;
  virtual RgbColorPtr Color() const = 0;
  virtual void SetColor(const RgbColorPtr& color) = 0;
  virtual bool Outline() const = 0;
  virtual void SetOutline(bool value) = 0;
  virtual RgbColorPtr OutlineColor() const = 0;
  virtual void SetOutlineColor(const RgbColorPtr& color) = 0;
  virtual double OutlineSize() const = 0;
  virtual void SetOutlineSize(double size) = 0;
};

using MarkerSymbolPtr = std::shared_ptr<MarkerSymbol>;

} // namespace tov
