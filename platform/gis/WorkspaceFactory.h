#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Opens and creates workspaces: "orvaCore.ShapefileWorkspaceFactory" (a folder
// of shapefiles) and "orvaCore.AccessWorkspaceFactory" (the personal
// geodatabase, one GeoPackage file). Factories are compared by ClassID.
class WorkspaceFactory : public virtual Object {
public:
  virtual std::string ClassID() const = 0;
  // A shapefile folder, or a GeoPackage file. Missing raises an error.
  virtual WorkspacePtr OpenFromFile(const std::string& path) = 0;
  // Creates folder\name (a new subfolder, or folder\name.gpkg) and returns
  // its path. connectionProperties are ignored.
  virtual std::string Create(const std::string& folder, const std::string& name,
                             const ObjectPtr& connectionProperties) = 0;
  virtual bool IsWorkspace(const std::string& path) const = 0;
};

using WorkspaceFactoryPtr = std::shared_ptr<WorkspaceFactory>;

} // namespace tov
