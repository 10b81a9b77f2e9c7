#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "orvaCore.Index". An index to add to a feature class: on a geometry
// field it is the spatial index.
class Index : public virtual Object {
public:
  virtual std::string Name() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual FieldsPtr Fields() const = 0;
  virtual void SetFields(const FieldsPtr& fields) = 0;
};

using IndexPtr = std::shared_ptr<Index>;

} // namespace tov
