#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// Graphic elements of a map.
class EnumElement : public virtual Object {
public:
  virtual void Reset() = 0;
  virtual GraphicElementPtr Next() = 0;
};

using EnumElementPtr = std::shared_ptr<EnumElement>;

} // namespace tov
