#pragma once
#include "host/gis/HostTextSymbol.h"
#include "platform/gis/LabelClass.h"

namespace tov {

class HostLabelClass : public LabelClass {
public:
  std::string Expression() const override { return m_expression; }
  void SetExpression(const std::string& expression) override { m_expression = expression; }
  double MinimumScale() const override { return m_minScale; }
  void SetMinimumScale(double scale) override { m_minScale = scale; }
  double MaximumScale() const override { return m_maxScale; }
  void SetMaximumScale(double scale) override { m_maxScale = scale; }
  TextSymbolPtr TextSymbol() const override { return m_symbol; }
  void SetTextSymbol(const TextSymbolPtr& symbol) override {
    m_symbol = symbol ? symbol : std::make_shared<HostTextSymbol>();
  }

private:
  std::string m_expression;
  double m_minScale = 0, m_maxScale = 0;
  TextSymbolPtr m_symbol = std::make_shared<HostTextSymbol>();
};

} // namespace tov
