#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// ProgID "orvaCore.SelectionEnvironment": how Map::SelectByShape combines.
class SelectionEnvironment : public virtual Object {
public:
  // 0 new, 1 add, 2 subtract, 3 and, 4 exclusive or.
  virtual long CombinationMethod() const = 0;
  virtual void SetCombinationMethod(long method) = 0;
  virtual RgbColorPtr DefaultColor() const = 0;
  virtual void SetDefaultColor(const RgbColorPtr& color) = 0;
};

using SelectionEnvironmentPtr = std::shared_ptr<SelectionEnvironment>;

} // namespace tov
