#pragma once
#include "host/gis/HostRgbColor.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/MarkerSymbol.h"

namespace tov {

class HostMarkerSymbol : public MarkerSymbol {
public:
  long Style() const override { return m_style; }
  void SetStyle(long style) override { m_style = style; }
  double Size() const override { return m_size; }
  void SetSize(double size) override { m_size = size; }
  RgbColorPtr Color() const override { return m_color->Clone(); }
  void SetColor(const RgbColorPtr& color) override { m_color = HostRgbColor::CopyOf(color); }
  bool Outline() const override { return m_outline; }
  void SetOutline(bool value) override { m_outline = value; }
  RgbColorPtr OutlineColor() const override { return m_outlineColor->Clone(); }
  void SetOutlineColor(const RgbColorPtr& color) override { m_outlineColor = HostRgbColor::CopyOf(color); }
  double OutlineSize() const override { return m_outlineSize; }
  void SetOutlineSize(double size) override { m_outlineSize = size; }
  SymbolPtr Clone() const override {
    auto copy = std::make_shared<HostMarkerSymbol>(*this);
    copy->m_color = m_color->Clone();
    copy->m_outlineColor = m_outlineColor->Clone();
    return copy;
  }

private:
  long m_style = orvaSMSCircle;
  double m_size = 8.0;
  RgbColorPtr m_color = std::make_shared<HostRgbColor>(0x505050);
  bool m_outline = false;
  RgbColorPtr m_outlineColor = std::make_shared<HostRgbColor>(0);
  double m_outlineSize = 1.0;
};

} // namespace tov
