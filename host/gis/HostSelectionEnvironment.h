#pragma once
#include "host/gis/HostRgbColor.h"
#include "platform/gis/SelectionEnvironment.h"

namespace tov {

class HostSelectionEnvironment : public SelectionEnvironment {
public:
  long CombinationMethod() const override { return m_method; }
  void SetCombinationMethod(long method) override { m_method = method; }
  RgbColorPtr DefaultColor() const override { return m_color->Clone(); }
  void SetDefaultColor(const RgbColorPtr& color) override { m_color = HostRgbColor::CopyOf(color); }

private:
  long m_method = 0;
  RgbColorPtr m_color = std::make_shared<HostRgbColor>(0x00FFFF);
};

} // namespace tov
