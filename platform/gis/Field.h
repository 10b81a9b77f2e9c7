#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "orvaCore.Field". A field description; the setters are for building
// the fields of a new feature class.
class Field : public virtual Object {
public:
  virtual std::string Name() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual std::string AliasName() const = 0;
  virtual void SetAliasName(const std::string& alias) = 0;
  // One of FieldTypeCode.
  virtual long Type() const = 0;
  virtual void SetType(long type) = 0;
  virtual long Length() const = 0;
  virtual void SetLength(long length) = 0;
  virtual bool IsNullable() const = 0;
  virtual void SetIsNullable(bool value) = 0;
  // Only for geometry fields.
  virtual GeometryDefPtr GeometryDef() const = 0;
  virtual void SetGeometryDef(const GeometryDefPtr& def) = 0;
};

using FieldPtr = std::shared_ptr<Field>;

} // namespace tov
