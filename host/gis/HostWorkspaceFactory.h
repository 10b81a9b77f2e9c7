#pragma once
#include "host/gis/HostWorkspace.h"
#include "platform/gis/WorkspaceFactory.h"

namespace tov {

// "orvaCore.ShapefileWorkspaceFactory" or "orvaCore.AccessWorkspaceFactory".
class HostWorkspaceFactory : public WorkspaceFactory {
public:
  static constexpr const char* kShapefileClsid = "{A134D9D0-59DA-437E-9571-05EB2C8D40DB}";
  static constexpr const char* kGeoPackageClsid = "{DA401A66-22AA-4219-9D17-4A04D273EC23}";

  explicit HostWorkspaceFactory(WorkspaceKind kind) : m_kind(kind) {}

  std::string ClassID() const override;
  WorkspacePtr OpenFromFile(const std::string& path) override;
  std::string Create(const std::string& folder, const std::string& name, const ObjectPtr& connectionProperties) override;
  bool IsWorkspace(const std::string& path) const override;

private:
  WorkspaceKind m_kind;
};

} // namespace tov
