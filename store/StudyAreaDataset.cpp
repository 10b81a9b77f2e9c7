#include "store/StudyAreaDataset.h"

#include "platform/framework/SettingsKeys.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Feature.h"
#include "platform/gis/Field.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GeometryDef.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/Index.h"
#include "platform/gis/LayerFile.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"

namespace tov {

namespace {

constexpr char kPersonalGeodatabase[] = "Personal Geodatabase";

ErrorSite Site() { return ModuleErrorSite(kTovSSAUtilsModule); }

FieldPtr NewField(const std::string& name, const std::string& alias, long type) {
  auto field = CreateAs<Field>(kFieldProgId);
  field->SetName(name);
  field->SetAliasName(alias);
  field->SetType(type);
  return field;
}

FieldsPtr StudyAreaFields(bool personalGeodatabase, long geometryType, const SpatialReferencePtr& spatialReference) {
  auto fields = CreateAs<Fields>(kFieldsProgId);
  if (personalGeodatabase) {
    FieldPtr oid = NewField("OID", "Object ID", fieldTypeOID);
    oid->SetIsNullable(false);
    fields->AddField(oid);
  }
  auto def = CreateAs<GeometryDef>(kGeometryDefProgId);
  def->SetGeometryType(geometryType);
  def->SetGridCount(1);
  def->SetGridSize(0, 10);
  def->SetAvgNumPoints(2);
  def->SetHasM(false);
  def->SetHasZ(false);
  def->SetSpatialReference(spatialReference);
  FieldPtr shape = NewField("Shape", "geometry", fieldTypeGeometry);
  shape->SetGeometryDef(def);
  fields->AddField(shape);
  return fields;
}

// Index of the first geometry field, or -1.
long FirstGeometryField(const FieldsPtr& fields) {
  for (long i = 0; i < fields->FieldCount(); ++i)
    if (fields->Field(i)->Type() == fieldTypeGeometry) return i;
  return -1;
}

} // namespace

void ApplyStudyAreaSymbol(const FeatureLayerPtr& layer) {
  SimpleRendererPtr renderer = Must(layer->Renderer(), "the layer's renderer");
  FillSymbolPtr fill = Must(As<FillSymbol>(renderer->Symbol()), "the renderer's fill symbol");
  auto color = CreateAs<RgbColor>(kRgbColorProgId);
  color->SetRGB(0);
  LineSymbolPtr outline = Must(fill->Outline(), "the fill symbol's outline");
  outline->SetColor(color);
  outline->SetWidth(4.0);
  fill->SetOutline(outline);
  // Transparent fill: only the outline shows.
  color->SetTransparency(0);
  fill->SetColor(color);
  renderer->SetSymbol(fill);
}

FeatureLayerPtr CreateStudyAreaLayer(const HostApplicationPtr& application, const std::string& directory,
                                     const std::string& baseName) {
  return Trap(Site(), "CreateStudyAreaLayer ", FeatureLayerPtr(), [&] {
    auto fileInfo = CreateAs<FileInfo>(kFileInfoProgId);
    fileInfo->SetPath(directory + baseName);
    WorkspacePtr workspace = OpenStudyAreaWorkspace(fileInfo, application);
    SpatialReferencePtr spatialReference = GetAnalysisSpatialReference(application);
    FeatureClassPtr featureClass =
        Must(CreateFeatureClass(workspace, baseName, geometryPolygon, spatialReference), "the new feature class");
    auto layer = CreateAs<FeatureLayer>(kFeatureLayerProgId);
    layer->SetFeatureClass(featureClass);
    ApplyStudyAreaSymbol(layer);
    return layer;
  });
}

WorkspacePtr OpenStudyAreaWorkspace(const FileInfoPtr& fileInfo, const HostApplicationPtr& application) {
  return Trap(Site(), "OpenStudyAreaWorkspace ", WorkspacePtr(), [&] {
    TovExtensionPtr extension = Must(GetTovExtension(application), "the analysis extension");
    const std::string format = Must(extension->ExtensionProperties(), "the extension properties")->GetProperty(kDataFormatKey);
    Must(fileInfo, "the file information");
    if (format == kPersonalGeodatabase) {
      auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
      const std::string path = factory->Create(fileInfo->DirectoryPart(), fileInfo->NamePart(), nullptr);
      return factory->OpenFromFile(path);
    }
    return CreateAs<WorkspaceFactory>(kShapefileWorkspaceFactoryProgId)->OpenFromFile(fileInfo->DirectoryPart());
  });
}

FeatureClassPtr CreateFeatureClass(const WorkspacePtr& workspace, const std::string& name, long geometryType,
                                   const SpatialReferencePtr& spatialReference, const FieldsPtr& fields,
                                   const std::string& classId) {
  (void)classId; // always the standard feature class identifier
  return Trap(Site(), "CreateFeatureClass ", FeatureClassPtr(), [&]() -> FeatureClassPtr {
    if (!workspace) return nullptr;
    const bool personalGeodatabase =
        Must(workspace->WorkspaceFactory(), "the workspace factory")->ClassID() ==
        CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId)->ClassID();
    FieldsPtr classFields = fields ? fields : StudyAreaFields(personalGeodatabase, geometryType, spatialReference);
    const long shapeIndex = FirstGeometryField(classFields);
    if (shapeIndex < 0)
      throw HostError(err::InvalidCall, "TovSSAUtils", "The field list of \"" + name + "\" has no geometry field");
    const std::string shapeFieldName = classFields->Field(shapeIndex)->Name();
    return workspace->CreateFeatureClass(name, classFields, kFeatureClassClsid, "", featureTypeSimple,
                                         shapeFieldName, "");
  });
}

bool AddPolygonFeature(const GeometryPtr& polygon, const FeatureLayerPtr& layer) {
  return Trap(Site(), "AddPolygonFeature ", false, [&] {
    FeatureClassPtr featureClass = Must(Must(layer, "the study area layer")->FeatureClass(), "the layer's feature class");
    Must(polygon, "the polygon")->Project(featureClass->SpatialReference());
    FeaturePtr feature = featureClass->CreateFeature();
    feature->SetShape(polygon);
    feature->Store();
    return true;
  });
}

void AddSpatialIndex(const FeatureClassPtr& featureClass) {
  Trap(Site(), "AddSpatialIndex ", [&] {
    FieldsPtr classFields = Must(featureClass, "the feature class")->Fields();
    const long shapeIndex = FirstGeometryField(classFields);
    if (shapeIndex < 0)
      throw HostError(err::InvalidCall, "TovSSAUtils", "The feature class \"" + featureClass->Name() + "\" has no geometry field");
    auto indexFields = CreateAs<Fields>(kFieldsProgId);
    indexFields->AddField(classFields->Field(shapeIndex));
    auto index = CreateAs<Index>(kIndexProgId);
    index->SetName("Idx_1");
    index->SetFields(indexFields);
    featureClass->AddIndex(index);
  });
}

FeatureLayerPtr OpenLayerFileLayer(const std::string& path) {
  return Trap(Site(), "OpenLayerFileLayer ", FeatureLayerPtr(), [&]() -> FeatureLayerPtr {
    auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
    layerFile->Open(path);
    FeatureLayerPtr layer = As<FeatureLayer>(layerFile->Layer());
    if (!layer || !layer->FeatureClass()) return nullptr;
    return layer;
  });
}

} // namespace tov
