#pragma once
#include "host/gis/HostLineSymbol.h"
#include "platform/gis/FillSymbol.h"

namespace tov {

class HostFillSymbol : public FillSymbol {
public:
  long Style() const override { return m_style; }
  void SetStyle(long style) override { m_style = style; }
  RgbColorPtr Color() const override { return m_color->Clone(); }
  void SetColor(const RgbColorPtr& color) override { m_color = HostRgbColor::CopyOf(color); }
  LineSymbolPtr Outline() const override { return std::static_pointer_cast<LineSymbol>(m_outline->Clone()); }
  void SetOutline(const LineSymbolPtr& outline) override {
    m_outline = outline ? std::static_pointer_cast<LineSymbol>(outline->Clone()) : std::make_shared<HostLineSymbol>();
  }
  SymbolPtr Clone() const override {
    auto copy = std::make_shared<HostFillSymbol>(*this);
    copy->m_color = m_color->Clone();
    copy->m_outline = Outline();
    return copy;
  }

private:
  long m_style = orvaSFSSolid;
  RgbColorPtr m_color = std::make_shared<HostRgbColor>(0xC8C8C8);
  LineSymbolPtr m_outline = std::make_shared<HostLineSymbol>();
};

} // namespace tov
