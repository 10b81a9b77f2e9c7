#pragma once
#include "host/gis/HostRgbColor.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LineSymbol.h"

namespace tov {

class HostLineSymbol : public LineSymbol {
public:
  long Style() const override { return m_style; }
  void SetStyle(long style) override { m_style = style; }
  RgbColorPtr Color() const override { return m_color->Clone(); }
  void SetColor(const RgbColorPtr& color) override { m_color = HostRgbColor::CopyOf(color); }
  double Width() const override { return m_width; }
  void SetWidth(double width) override { m_width = width; }
  SymbolPtr Clone() const override {
    auto copy = std::make_shared<HostLineSymbol>(*this);
    copy->m_color = m_color->Clone();
    return copy;
  }

private:
  long m_style = orvaSLSSolid;
  RgbColorPtr m_color = std::make_shared<HostRgbColor>(0);
  double m_width = 1.0;
};

} // namespace tov
