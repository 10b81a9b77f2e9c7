#include "store/StudyAreaCreation.h"

#include "platform/forms/MsgBox.h"
#include "platform/framework/FileInfo.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FileSystemObject.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/LayerFile.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/GroupLayers.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"
#include "store/StudyAreaDataset.h"
#include "store/TextResources.h"

#include <functional>

namespace tov {

namespace {

constexpr double kCurrentOutlineWidth = 4.0;
constexpr double kOtherOutlineWidth = 2.0;

// The empty-polygon message; true when the polygon is empty.
bool RefuseEmptyPolygon(const GeometryPtr& polygon) {
  if (!Must(polygon, "the study area polygon")->IsEmpty()) return false;
  ResourceFinderPtr texts = GetTextResources();
  MsgBox(texts->FindString("167"), vbCritical | vbOKOnly, texts->FindString("168"));
  return true;
}

// "TYPE", "MAINLAYER" and "FEATURESLIST" of the record.
void DescribeRecord(const StudyAreaRecordPtr& record, const TaskDescriptorPtr& task, const std::string& featuresList) {
  TextPropertySetPtr properties = Must(record->RecordProperties(), "the record properties");
  Must(task, "the task descriptor");
  properties->SetProperty("TYPE", task->Name());
  properties->SetProperty("MAINLAYER", Must(task->GetPropertyList(), "the task settings")->GetValue("MainLayer"));
  properties->SetProperty("FEATURESLIST", featuresList);
}

FileInfoPtr NewFileInfo(const std::string& path) {
  auto info = CreateAs<FileInfo>(kFileInfoProgId);
  info->SetPath(path);
  return info;
}

// Writes the layer to D & B & ".lyr", its data source relative to the file's
// folder. step, when given, follows the store's step counter.
void WriteLayerFile(const FeatureLayerPtr& layer, const std::string& directory, const std::string& baseName,
                    int32_t* step) {
  auto set = [&](int32_t s) { if (step) *step = s; };
  set(13);
  auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
  layerFile->SetFilename(directory + baseName + ".lyr");
  FileInfoPtr written = NewFileInfo(layerFile->Filename());
  set(14);
  const std::string base = written->DirectoryPart();
  set(15);
  layer->SetDataSourceRelativeBase(base);
  set(16);
  layerFile->SetLayer(layer);
  set(17);
  layerFile->Save();
  set(18);
}

TextPropertySetPtr PropertiesOf(const TovExtensionPtr& extension) {
  return Must(Must(extension, "the analysis extension")->ExtensionProperties(), "the extension properties");
}

TextPropertySetPtr OptionsOf(const TovExtensionPtr& extension) {
  return Must(Must(extension, "the analysis extension")->ExtensionOptions(), "the extension options");
}

MapPtr FocusMapOf(const MapDocumentPtr& document) {
  return Must(Must(document, "the document")->FocusMap(), "the focus map");
}

// "CurrentExtent" (the caller's step), then, unless renaming is switched
// off, the group layer name (its prefix is only looked up then) and "Study
// Area Name".
void MakeCurrent(const TovExtensionPtr& extension, const std::string& name,
                 const std::function<std::string()>& groupLayerPrefix, int32_t* step) {
  PropertiesOf(extension)->SetProperty(kCurrentExtentKey, name);
  if (step) *step = 20;
  if (OptionsOf(extension)->GetProperty(kChangeGroupLayerNameKey) != "False") {
    PropertiesOf(extension)->SetProperty(kGroupLayerForAnalysisKey, groupLayerPrefix() + name);
    PropertiesOf(extension)->SetProperty(kStudyAreaNameKey, name);
  }
}

// Zooms the focus map to the current study area (enlarged by a fifth) and
// redraws. Without a current study area geometry the map is not touched.
void ZoomToCurrentStudyArea(const TovExtensionPtr& extension, const MapDocumentPtr& document) {
  GeometryPtr current = Must(extension, "the analysis extension")->CurrentStudyAreaGeometry();
  if (!current) return;
  ActiveViewPtr view = Must(As<ActiveView>(FocusMapOf(document)), "the focus map's view");
  EnvelopePtr envelope = current->Envelope();
  if (envelope && !envelope->IsEmpty()) {
    envelope->Expand(1.2, 1.2, true);
    view->SetExtent(envelope);
  }
  view->Refresh();
  document->RefreshContentsView();
}

} // namespace

// Draws the current study area with a 4.0 outline and every other study area
// layer of every map with 2.0.
void ResetOutlineWidths(const MapDocumentPtr& document, const StudyAreaCatalogPtr& catalog,
                        const std::string& current) {
  for (long m = 0; m < document->MapCount(); ++m) {
    EnumLayerPtr layers = Must(Must(document->Map(m), "a map")->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr layer = layers->Next()) {
      FeatureLayerPtr featureLayer = As<FeatureLayer>(layer);
      if (!featureLayer || !catalog->Exists(featureLayer->Name())) continue;
      FillSymbolPtr fill = Must(As<FillSymbol>(Must(featureLayer->Renderer(), "a renderer")->Symbol()), "a fill symbol");
      LineSymbolPtr outline = Must(fill->Outline(), "an outline");
      outline->SetWidth(featureLayer->Name() == current ? kCurrentOutlineWidth : kOtherOutlineWidth);
      fill->SetOutline(outline);
    }
  }
}

bool CreateStudyArea(GeometryPtr& polygon, DataManagerPtr& dataManager, HostApplicationPtr& application,
                     std::string& name, HostDatasetPtr& dataSet, TaskDescriptorPtr& task,
                     std::string& featuresList) {
  // The failure report names the step reached. A missing object fails where
  // it is first used, so that is the step reported.
  int32_t nStep = 0;
  try {
    if (RefuseEmptyPolygon(polygon)) return false;
    nStep = 1;
    EnvelopePtr envelope = polygon->Envelope();
    nStep = 3;
    StudyAreaCatalogPtr catalog =
        Must(Must(dataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue");
    if (!catalog->Add(name)) throw HostError();
    nStep = 5;
    StudyAreaRecordPtr record = catalog->Item(name);
    nStep = 6;
    Must(record, "the new study area record")->SetBaseDataSet(Must(dataSet, "the data set")->DataSetPath());
    nStep = 7;
    DescribeRecord(record, task, featuresList);
    FileInfoPtr fileInfo = NewFileInfo(record->FilePath());
    const std::string baseName = fileInfo->NamePart();
    nStep = 8;
    FeatureLayerPtr layer;
    if (envelope) {
      nStep = 9;
      layer = CreateStudyAreaLayer(application, fileInfo->DirectoryPart(), baseName);
      nStep = 10;
      Must(layer, "the study area layer")->SetName(name);
      AddPolygonFeature(polygon, layer);
      nStep = 11;
      AddSpatialIndex(layer->FeatureClass());
      nStep = 12;
      record->SetFeatureClass(layer->FeatureClass());
      WriteLayerFile(layer, fileInfo->DirectoryPart(), baseName, &nStep);
    }
    nStep = 19;
    TovExtensionPtr extension = GetTovExtension(application);
    MakeCurrent(extension, name, [] { return GetTextResources()->FindString("189"); }, &nStep);
    nStep = 21;
    MapDocumentPtr document = Must(application, "the application")->Document();
    const bool useGroup = OptionsOf(extension)->GetProperty(kUseGroupLayerForAnalysisKey) == "True";
    if (useGroup) {
      nStep = 22;
      std::string groupName = PropertiesOf(extension)->GetProperty(kGroupLayerForAnalysisKey);
      if (groupName.empty()) groupName = kMyAnalysesGroupName;
      GroupLayerPtr group = GetGroupLayerByName(Must(document, "the document")->FocusMap(), groupName);
      if (!group) {
        group = CreateAs<GroupLayer>(kGroupLayerProgId);
        group->SetName(groupName);
        group->SetVisible(true);
        FocusMapOf(document)->AddLayer(group);
      }
      nStep = 23;
      group->Add(Must(layer, "the study area layer"));
      nStep = 24;
      MoveLastLayerToTop(group);
      nStep = 25;
    } else {
      nStep = 26;
      FocusMapOf(document)->AddLayer(Must(layer, "the study area layer"));
      nStep = 27;
    }
    nStep = 28;
    ResetOutlineWidths(Must(document, "the document"), catalog, PropertiesOf(extension)->GetProperty(kCurrentExtentKey));
    nStep = 29;
    ZoomToCurrentStudyArea(extension, document);
    nStep = 30;
    layer.reset();
    record.reset();
    polygon.reset();
    return true;
  } catch (...) {
    const HostError pending = PendingError(std::current_exception());
    const std::string lineBreak = "\r\n";
    ReportFailure(ModuleErrorSite(kTovSSAUtilsModule), "CreateStudyArea ",
                  HostError(pending.Number(), pending.Source(),
                            pending.Description() + lineBreak + "Moduble name = " + "CreateStudyArea" + lineBreak +
                                "nStep = " + std::to_string(nStep)));
    return false;
  }
}

bool CreateStudyAreaPP(GeometryPtr& polygon, DataManagerPtr& dataManager, HostApplicationPtr& application,
                       std::string& name, HostDatasetPtr& dataSet, TaskDescriptorPtr& task,
                       std::string& featuresList) {
  return Trap(ModuleErrorSite(kTovSSAUtilsModule), "CreateStudyAreaPP ", false, [&] {
    if (RefuseEmptyPolygon(polygon)) return false;
    EnvelopePtr envelope = polygon->Envelope();
    StudyAreaCatalogPtr catalog = Must(Must(dataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue");
    StudyAreaRecordPtr record = Must(catalog->Item(name), "the study area record");
    record->SetBaseDataSet(Must(dataSet, "the data set")->DataSetPath());
    DescribeRecord(record, task, featuresList);
    const std::string path = record->FilePath();
    FileInfoPtr fileInfo = NewFileInfo(path);
    const std::string baseName = fileInfo->NamePart();

    FeatureLayerPtr existing = OpenLayerFileLayer(path);
    if (existing && existing->FeatureClass()) {
      FeatureClassPtr featureClass = existing->FeatureClass();
      FeatureCursorPtr cursor = Must(featureClass->Update(nullptr, false), "an update cursor");
      FeaturePtr first = Must(cursor->NextFeature(), "the study area's feature");
      first->SetShape(polygon);
      cursor->UpdateFeature(first);
      AddSpatialIndex(featureClass);
    } else if (envelope) {
      FeatureLayerPtr layer =
          Must(CreateStudyAreaLayer(application, fileInfo->DirectoryPart(), baseName), "the study area layer");
      layer->SetName(name);
      AddPolygonFeature(polygon, layer);
      AddSpatialIndex(layer->FeatureClass());
      record->SetFeatureClass(layer->FeatureClass());
      auto files = CreateAs<FileSystemObject>(kFileSystemObjectProgId);
      if (files->FileExists(path)) files->DeleteFile(path);
      WriteLayerFile(layer, fileInfo->DirectoryPart(), baseName, nullptr);
    }

    TovExtensionPtr extension = GetTovExtension(application);
    MakeCurrent(extension, name, [] { return std::string(kAnalysesCreatedFor); }, nullptr);
    ZoomToCurrentStudyArea(extension, Must(application, "the application")->Document());
    polygon.reset();
    return true;
  });
}

} // namespace tov
