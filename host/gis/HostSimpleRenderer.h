#pragma once
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/Symbol.h"

namespace tov {

class HostSimpleRenderer : public SimpleRenderer {
public:
  SymbolPtr Symbol() const override { return m_symbol; }
  void SetSymbol(const SymbolPtr& symbol) override { m_symbol = symbol ? symbol->Clone() : nullptr; }
  std::string Label() const override { return m_label; }
  void SetLabel(const std::string& label) override { m_label = label; }

private:
  SymbolPtr m_symbol;
  std::string m_label;
};

} // namespace tov
