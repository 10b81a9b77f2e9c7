#include "host/gis/CodeFieldIndex.h"

#include "host/common/SqlText.h"
#include "host/gis/GisErrors.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace tov {

namespace {
const char kSource[] = "orvaCore.Workspace";
}

std::string CodeFieldIndexName(const std::string& layer, const std::string& field) {
  return layer + "_" + field + "_code";
}

void IndexCodeField(GDALDataset& geopackage, const std::string& layerName, const std::string& field) {
  OGRLayer* layer = geopackage.GetLayerByName(layerName.c_str());
  if (!layer)
    throw HostError(gisErr::DatasetNotFound, kSource, "The GeoPackage has no layer \"" + layerName + "\" to index");
  if (layer->GetLayerDefn()->GetFieldIndex(field.c_str()) < 0)
    throw HostError(gisErr::DatasetNotFound, kSource,
                    "The layer \"" + layerName + "\" has no field \"" + field + "\" to index");
  // NOCASE: SQLite answers a LIKE from an index only when the index compares
  // as LIKE does, without regard to case.
  const std::string sql = "CREATE INDEX IF NOT EXISTS " + SqlIdentifier(CodeFieldIndexName(layerName, field)) +
                          " ON " + SqlIdentifier(layerName) + " (" + SqlIdentifier(field) + " COLLATE NOCASE)";
  ResetOgrError();
  OGRLayer* result = geopackage.ExecuteSQL(sql.c_str(), nullptr, nullptr);
  if (result) geopackage.ReleaseResultSet(result);
  if (CPLGetLastErrorType() >= CE_Failure)
    ThrowOgrError(gisErr::DataAccess, kSource, "The code field \"" + field + "\" of \"" + layerName + "\" cannot be indexed");
}

} // namespace tov
