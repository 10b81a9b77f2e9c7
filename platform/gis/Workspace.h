#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>
#include <vector>

namespace tov {

// A folder of shapefiles or one GeoPackage file. Paths are platform paths.
class Workspace : public virtual Object {
public:
  virtual std::string PathName() const = 0;
  virtual WorkspaceFactoryPtr WorkspaceFactory() const = 0;
  virtual std::vector<std::string> FeatureClassNames() const = 0;
  // A missing class raises an error.
  virtual FeatureClassPtr OpenFeatureClass(const std::string& name) = 0;
  virtual bool FeatureClassExists(const std::string& name) const = 0;
  // fields must hold one geometry field named shapeFieldName; clsid,
  // extClsid and configKeyword are kept for compatibility.
  virtual FeatureClassPtr CreateFeatureClass(const std::string& name, const FieldsPtr& fields,
                                             const std::string& clsid, const std::string& extClsid,
                                             long featureType, const std::string& shapeFieldName,
                                             const std::string& configKeyword) = 0;
  // Deletes the workspace and everything in it (the folder of a shapefile
  // workspace, the file of a GeoPackage).
  virtual void Delete() = 0;
};

using WorkspacePtr = std::shared_ptr<Workspace>;

} // namespace tov
