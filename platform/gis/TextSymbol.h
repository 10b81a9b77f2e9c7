#pragma once
#include "platform/gis/Symbol.h"

#include <string>

namespace tov {

// ProgID "orvaCore.TextSymbol": how labels are written.
class TextSymbol : public Symbol {
public:
  virtual double Size() const = 0;
  virtual void SetSize(double size) = 0;
  virtual std::string FontName() const = 0;
  virtual void SetFontName(const std::string& name) = 0;
  virtual RgbColorPtr Color() const = 0;
  virtual void SetColor(const RgbColorPtr& color) = 0;
};

using TextSymbolPtr = std::shared_ptr<TextSymbol>;

} // namespace tov
