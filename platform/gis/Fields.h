#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "orvaCore.Fields". An ordered list of fields, indexed from 0.
class Fields : public virtual Object {
public:
  virtual long FieldCount() const = 0;
  // Out of range raises an error.
  virtual FieldPtr Field(long index) const = 0;
  // Index of the field (names compared without regard to case), or -1.
  virtual long FindField(const std::string& name) const = 0;
  virtual void AddField(const FieldPtr& field) = 0;
};

using FieldsPtr = std::shared_ptr<Fields>;

} // namespace tov
