#pragma once
#include "platform/gis/Workspace.h"

#include <gdal_priv.h>

#include <memory>
#include <string>

namespace tov {

enum class WorkspaceKind { Shapefile, GeoPackage };

// A shapefile folder or a GeoPackage file, open for update. One object per
// path and kind while anything uses it, so writers never race each other.
class HostWorkspace : public Workspace {
public:
  // Opens (or reuses) the workspace at a native path; missing raises.
  static std::shared_ptr<HostWorkspace> Open(WorkspaceKind kind, const std::string& nativePath);
  // The workspace at a native path (or the one open there), its dataset
  // opened only when first used: whoever asks only where data lives opens
  // nothing. The caller has seen that the data is there; a dataset that
  // cannot be opened after all raises on that first use.
  static std::shared_ptr<HostWorkspace> OpenWhenUsed(WorkspaceKind kind, const std::string& nativePath);

  HostWorkspace(WorkspaceKind kind, std::string nativePath, GDALDataset* dataset);
  ~HostWorkspace() override;

  std::string PathName() const override;
  WorkspaceFactoryPtr WorkspaceFactory() const override;
  std::vector<std::string> FeatureClassNames() const override;
  FeatureClassPtr OpenFeatureClass(const std::string& name) override;
  bool FeatureClassExists(const std::string& name) const override;
  FeatureClassPtr CreateFeatureClass(const std::string& name, const FieldsPtr& fields, const std::string& clsid,
                                     const std::string& extClsid, long featureType,
                                     const std::string& shapeFieldName, const std::string& configKeyword) override;
  void Delete() override;

  WorkspaceKind Kind() const { return m_kind; }
  const std::string& NativePath() const { return m_nativePath; }
  // The path as messages show it.
  std::string ShownPath() const;
  // The open dataset, opened now if it was still to be; a deleted
  // workspace raises.
  GDALDataset* Dataset() const;
  // Whether the dataset is open (one made by OpenWhenUsed is not until used).
  bool Opened() const { return m_dataset != nullptr; }
  // Deletes one feature class and its files.
  void DeleteFeatureClass(const std::string& name);

private:
  void CreateLayerWithFields(const std::string& name, const FieldsPtr& fields, long geometryType,
                             const OGRSpatialReference* sr, char** options);
  // The driver's index of the named layer, or -1.
  int LayerIndex(const std::string& name) const;
  void DropLayerObject(const std::string& name);

  WorkspaceKind m_kind;
  std::string m_nativePath;
  mutable GDALDataset* m_dataset;
  mutable bool m_toOpen = false; // made by OpenWhenUsed and not used yet
};

using HostWorkspacePtr = std::shared_ptr<HostWorkspace>;

// Groups the statements of one edit of a GeoPackage into one transaction:
// one synced commit instead of one per statement, and nothing half-written
// when a statement fails (rolled back unless committed). Shapefiles have no
// transactions; there it does nothing. Inside another transaction it joins
// that one.
class WorkspaceTransaction {
public:
  explicit WorkspaceTransaction(HostWorkspace& workspace);
  ~WorkspaceTransaction();
  WorkspaceTransaction(const WorkspaceTransaction&) = delete;
  WorkspaceTransaction& operator=(const WorkspaceTransaction&) = delete;
  // Raises a HostError (source `source`, text `what`) when the commit fails.
  void Commit(const char* source, const std::string& what);
  void Rollback();

private:
  GDALDataset* m_dataset = nullptr;
};

} // namespace tov
