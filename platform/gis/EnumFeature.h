#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// The selected features of a map, layer by layer in map order.
class EnumFeature : public virtual Object {
public:
  virtual void Reset() = 0;
  virtual FeaturePtr Next() = 0;
};

using EnumFeaturePtr = std::shared_ptr<EnumFeature>;

} // namespace tov
