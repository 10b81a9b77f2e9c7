#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// One class of labels of a feature layer. Scales are denominators; 0 means
// no limit. The expression names fields in brackets, e.g. "[NAME]".
class LabelClass : public virtual Object {
public:
  virtual std::string Expression() const = 0;
  virtual void SetExpression(const std::string& expression) = 0;
  virtual double MinimumScale() const = 0;
  virtual void SetMinimumScale(double scale) = 0;
  virtual double MaximumScale() const = 0;
  virtual void SetMaximumScale(double scale) = 0;
  // The label class's own text symbol (changes show at once).
  virtual TextSymbolPtr TextSymbol() const = 0;
  virtual void SetTextSymbol(const TextSymbolPtr& symbol) = 0;
};

using LabelClassPtr = std::shared_ptr<LabelClass>;

} // namespace tov
