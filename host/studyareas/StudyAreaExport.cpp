#include "host/studyareas/StudyAreaExport.h"

#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/LayerFile.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tov {

namespace {

constexpr char kSource[] = "tovana export";

constexpr long kWgs84 = 4326;

// Which coordinate system a format is written in.
enum class Convention {
  OwnSystem, // the study area's own unless another is asked for
  Rfc7946,   // GeoJSON: WGS 84 longitude and latitude without a "crs" member,
             // unless another system is asked for (then the older form with it)
  Wgs84Only, // the format knows no other system
};

struct Format {
  const char* extension;
  const char* driver;
  Convention convention;
};

constexpr Format kFormats[] = {
    {".geojson", "GeoJSON", Convention::Rfc7946},        {".json", "GeoJSON", Convention::Rfc7946},
    {".gpkg", "GPKG", Convention::OwnSystem},            {".shp", "ESRI Shapefile", Convention::OwnSystem},
    {".kml", "KML", Convention::Wgs84Only},              {".fgb", "FlatGeobuf", Convention::OwnSystem},
};

const Format* FormatFor(const std::string& path) {
  const std::string lower = LowerCase(path);
  for (const Format& f : kFormats) {
    const std::string ext = f.extension;
    if (lower.size() > ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0) return &f;
  }
  return nullptr;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// The study area's one shape and its system, read through its layer file.
std::unique_ptr<OGRGeometry> ReadShape(const StudyAreaRecordPtr& record, OGRSpatialReference& system) {
  auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
  layerFile->Open(record->FilePath());
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(layerFile->Layer());
  FeatureClassPtr featureClass = layer ? layer->FeatureClass() : nullptr;
  if (!featureClass)
    throw HostError(err::FileNotFound, kSource, "The study area \"" + record->Name() + "\" cannot be read: its data is missing.");
  if (const OGRSpatialReference* sr = HostSpatialReference::OgrOf(featureClass->SpatialReference())) system = *sr;
  FeatureCursorPtr cursor = featureClass->Search(nullptr, false);
  FeaturePtr feature = cursor ? cursor->NextFeature() : nullptr;
  std::unique_ptr<OGRGeometry> shape = feature ? OgrGeometryOf(feature->ShapeCopy()) : nullptr;
  if (!shape || shape->IsEmpty())
    throw HostError(err::InvalidCall, kSource, "The study area \"" + record->Name() + "\" holds no shape to export.");
  return shape;
}

void AddTextField(OGRLayer& layer, const char* name, int width) {
  OGRFieldDefn field(name, OFTString);
  field.SetWidth(width);
  if (layer.CreateField(&field) != OGRERR_NONE)
    throw HostError(err::AutomationError, kSource, std::string("The field ") + name + " cannot be written.");
}

// The files a shapefile is made of, beside its .shp.
const char* const kShapefileParts[] = {".shp", ".shx", ".dbf", ".prj", ".cpg", ".qix", ".sbn", ".sbx"};
} // namespace

std::string ExportFormatForPath(const std::string& nativePath) {
  const Format* f = FormatFor(nativePath);
  return f ? f->driver : "";
}

std::string ExportSystemRefusal(const std::string& nativePath, long epsgCode) {
  const Format* f = FormatFor(nativePath);
  if (f && f->convention == Convention::Wgs84Only && epsgCode != 0 && epsgCode != kWgs84)
    return std::string(f->driver) + " files are always in WGS 84 longitude and latitude (EPSG:4326); leave out --srs.";
  return "";
}

void ExportStudyArea(const Analysis& analysis, const std::string& name, const std::string& nativeOutPath,
                     long epsgCode) {
  const Format* format = FormatFor(nativeOutPath);
  if (!format)
    throw HostError(err::InvalidCall, kSource,
                    "The file " + nativeOutPath +
                        " has no known extension; use .geojson, .json, .gpkg, .shp, .kml or .fgb.");
  if (const std::string refusal = ExportSystemRefusal(nativeOutPath, epsgCode); !refusal.empty())
    throw HostError(err::InvalidCall, kSource, refusal);
  if (Exists(nativeOutPath))
    throw HostError(err::InvalidCall, kSource, "The file " + nativeOutPath + " already exists; choose another name.");
  StudyAreaCatalogPtr catalog = Must(analysis.dataManager->GetStudyAreaCatalog(), "the study area catalogue");
  if (!catalog->Exists(name))
    throw HostError(err::InvalidCall, kSource, "There is no study area named \"" + name + "\" in this analysis.");
  StudyAreaRecordPtr record = catalog->Item(name);

  OGRSpatialReference source;
  std::unique_ptr<OGRGeometry> shape = ReadShape(record, source);
  OGRSpatialReference target = source;
  if (format->convention != Convention::OwnSystem && epsgCode == 0) epsgCode = kWgs84;
  // Written as RFC 7946 whenever its system allows: web tools read nothing else.
  const bool rfc7946 = format->convention == Convention::Rfc7946 && epsgCode == kWgs84;
  if (epsgCode != 0) {
    target = HostSpatialReference::FromCode(epsgCode);
    if (!source.IsEmpty() && !source.IsSame(&target)) {
      std::unique_ptr<OGRCoordinateTransformation> transform(OGRCreateCoordinateTransformation(&source, &target));
      if (!transform || shape->transform(transform.get()) != OGRERR_NONE)
        throw HostError(err::InvalidCall, kSource,
                        "The study area cannot be expressed in EPSG:" + std::to_string(epsgCode) + ".");
    }
  }

  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format->driver);
  if (!driver) throw HostError(err::CannotCreateObject, kSource, std::string("GDAL cannot write ") + format->driver + " here.");
  GDALDatasetUniquePtr out(driver->Create(nativeOutPath.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!out) throw HostError(err::PathNotFound, kSource, "The file " + nativeOutPath + " cannot be created: " + CPLGetLastErrorMsg());
  bool written = false;
  try {
    CPLStringList options;
    if (rfc7946) options.SetNameValue("RFC7946", "YES");
    OGRLayer* layer =
        out->CreateLayer(name.c_str(), target.IsEmpty() ? nullptr : &target, wkbMultiPolygon, options.List());
    if (!layer) throw HostError(err::AutomationError, kSource, std::string("The layer cannot be created: ") + CPLGetLastErrorMsg());
    AddTextField(*layer, "NAME", 254);
    AddTextField(*layer, "METHOD", 80);
    AddTextField(*layer, "MAINLAYER", 80);
    AddTextField(*layer, "FEATURES", 254);
    OGRFeature feature(layer->GetLayerDefn());
    TextPropertySetPtr properties = record->RecordProperties();
    feature.SetField("NAME", record->Name().c_str());
    feature.SetField("METHOD", properties->GetProperty("TYPE").c_str());
    feature.SetField("MAINLAYER", properties->GetProperty("MAINLAYER").c_str());
    feature.SetField("FEATURES", properties->GetProperty("FEATURESLIST").substr(0, 254).c_str());
    std::unique_ptr<OGRGeometry> multi(OGRGeometryFactory::forceToMultiPolygon(shape.release()));
    feature.SetGeometry(multi.get());
    if (layer->CreateFeature(&feature) != OGRERR_NONE)
      throw HostError(err::AutomationError, kSource, std::string("The shape cannot be written: ") + CPLGetLastErrorMsg());
    written = true;
  } catch (...) {
    out.reset();
    if (!written) driver->Delete(nativeOutPath.c_str());
    throw;
  }
  out.reset(); // flushes; a format that writes on close reports here
}

void ExportStudyAreaReplacing(const Analysis& analysis, const std::string& name, const std::string& nativeOutPath) {
  namespace fs = std::filesystem;
  if (!Exists(nativeOutPath)) return ExportStudyArea(analysis, name, nativeOutPath);
  const fs::path target = fs::absolute(nativeOutPath);
  const fs::path folder = target.parent_path();
  std::string scratch = (folder / ".tovana-export-XXXXXX").string();
  if (!mkdtemp(scratch.data())) throw HostError(75, "Export", folder.string() + " cannot be written to");
  struct Remove {
    std::string path;
    ~Remove() {
      std::error_code ec;
      fs::remove_all(path, ec);
    }
  } removeScratch{scratch};
  ExportStudyArea(analysis, name, (fs::path(scratch) / target.filename()).string());
  std::error_code ec;
  if (LowerCase(target.extension().string()) == ".shp")
    for (const char* part : kShapefileParts) fs::remove(folder / (target.stem().string() + part), ec);
  else
    fs::remove(target, ec);
  for (const auto& made : fs::directory_iterator(scratch)) {
    fs::rename(made.path(), folder / made.path().filename(), ec);
    if (ec) throw HostError(75, "Export", nativeOutPath + " cannot be replaced");
  }
}

} // namespace tov
