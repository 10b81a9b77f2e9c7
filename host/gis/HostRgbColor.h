#pragma once
#include "platform/gis/RgbColor.h"

namespace tov {

class HostRgbColor : public RgbColor {
public:
  HostRgbColor() = default;
  explicit HostRgbColor(int32_t rgb, uint8_t transparency = 255) : m_rgb(rgb), m_transparency(transparency) {}

  int32_t RGB() const override { return m_rgb; }
  void SetRGB(int32_t value) override { m_rgb = value; }
  long Red() const override { return m_rgb & 0xFF; }
  long Green() const override { return (m_rgb >> 8) & 0xFF; }
  long Blue() const override { return (m_rgb >> 16) & 0xFF; }
  uint8_t Transparency() const override { return m_transparency; }
  void SetTransparency(uint8_t value) override { m_transparency = value; }
  RgbColorPtr Clone() const override { return std::make_shared<HostRgbColor>(*this); }

  // A copy of color (black when missing), so symbols never share colours.
  static RgbColorPtr CopyOf(const RgbColorPtr& color) {
    return color ? color->Clone() : std::make_shared<HostRgbColor>();
  }

private:
  int32_t m_rgb = 0;
  uint8_t m_transparency = 255;
};

} // namespace tov
