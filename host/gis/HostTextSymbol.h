#pragma once
#include "host/gis/HostRgbColor.h"
#include "platform/gis/TextSymbol.h"

namespace tov {

class HostTextSymbol : public TextSymbol {
public:
  double Size() const override { return m_size; }
  void SetSize(double size) override { m_size = size; }
  std::string FontName() const override { return m_font; }
  void SetFontName(const std::string& name) override { m_font = name; }
  RgbColorPtr Color() const override { return m_color->Clone(); }
  void SetColor(const RgbColorPtr& color) override { m_color = HostRgbColor::CopyOf(color); }
  SymbolPtr Clone() const override {
    auto copy = std::make_shared<HostTextSymbol>(*this);
    copy->m_color = m_color->Clone();
    return copy;
  }

private:
  double m_size = 8.0;
  std::string m_font = "Sans Serif";
  RgbColorPtr m_color = std::make_shared<HostRgbColor>(0);
};

} // namespace tov
