#include "host/tools/sampledata/UkSource.h"

#include "host/tools/sampledata/SampleGeometry.h"

#include <gdal_priv.h>
#include <gdal_utils.h>

#include <memory>
#include <string>
#include <vector>

namespace tov::sampledata {

namespace {
// GDALVectorTranslate of source into the file out, as ogr2ogr would.
void Translate(GDALDataset* source, const std::filesystem::path& out, const std::vector<std::string>& arguments) {
  CPLStringList args;
  for (const std::string& a : arguments) args.AddString(a.c_str());
  GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(args.List(), nullptr);
  if (!options) throw BuildError("bad translation options: " + std::string(CPLGetLastErrorMsg()));
  CPLErrorReset();
  int usageError = 0;
  GDALDatasetH sources[] = {GDALDataset::ToHandle(source)};
  GDALDatasetH result = GDALVectorTranslate(out.c_str(), nullptr, 1, sources, options, &usageError);
  GDALVectorTranslateOptionsFree(options);
  const std::string message = CPLGetLastErrorMsg();
  if (result) GDALClose(result);
  if (!result || usageError) throw BuildError("cannot write " + out.string() + ": " + message);
}
} // namespace

void PrepareUkSource(const std::filesystem::path& admin1, const std::filesystem::path& out) {
  GDALAllRegister();
  std::unique_ptr<GDALDataset> source(
      GDALDataset::Open(admin1.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
  if (!source) throw BuildError("cannot read " + admin1.string() + ": " + CPLGetLastErrorMsg());
  std::error_code ec;
  std::filesystem::remove(out, ec);
  Translate(source.get(), out,
            {"-f", "GPKG", "-nln", "districts", "-nlt", "PROMOTE_TO_MULTI", "-sql",
             "SELECT name, type_en AS type, geonunit AS nation, iso_3166_2 AS iso_code FROM admin1 "
             "WHERE iso_a2 = 'GB'"});
  Translate(source.get(), out,
            {"-update", "-nln", "nations", "-nlt", "MULTIPOLYGON", "-dialect", "sqlite", "-sql",
             "SELECT ST_Multi(ST_Union(GEOMETRY)) AS geom, geonunit AS name FROM admin1 WHERE iso_a2 = 'GB' "
             "GROUP BY geonunit"});
}

} // namespace tov::sampledata
