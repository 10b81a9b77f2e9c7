#include "store/StudyAreaCreation.h"

#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/FileInfo.h"
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
#include "store/GroupLayers.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"
#include "store/StudyAreaDataset.h"

namespace tov {

namespace {

constexpr char kCurrentExtent[] = "CurrentExtent";
constexpr char kGroupLayerForAnalysis[] = "Group Layer For Analysis";
constexpr char kStudyAreaName[] = "Study Area Name";
constexpr char kChangeGroupLayerName[] = "ChangeGroupLayerName";
constexpr char kUseGroupLayerForAnalysis[] = "Use Group Layer For Analysis";
constexpr char kDefaultGroupLayerName[] = "My Analyses";
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
  auto layerFile = CreateAs<LayerFile>("orvaCore.LayerFile");
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

// "CurrentExtent", then the group layer name and "Study Area Name" unless
// renaming is switched off.
void MakeCurrent(const TovExtensionPtr& extension, const std::string& name, const std::string& groupLayerName,
                 int32_t* step) {
  TextPropertySetPtr properties = Must(extension->ExtensionProperties(), "the extension properties");
  if (step) *step = 19;
  properties->SetProperty(kCurrentExtent, name);
  if (step) *step = 20;
  if (Must(extension->ExtensionOptions(), "the extension options")->GetProperty(kChangeGroupLayerName) != "False") {
    properties->SetProperty(kGroupLayerForAnalysis, groupLayerName);
    properties->SetProperty(kStudyAreaName, name);
  }
}

// Zooms the focus map to the current study area (enlarged by a fifth) and
// redraws.
void ZoomToCurrentStudyArea(const TovExtensionPtr& extension, const MapDocumentPtr& document) {
  GeometryPtr current = extension->CurrentStudyAreaGeometry();
  ActiveViewPtr view = Must(As<ActiveView>(document->FocusMap()), "the focus map's view");
  if (current) {
    EnvelopePtr envelope = current->Envelope();
    if (envelope && !envelope->IsEmpty()) {
      envelope->Expand(1.2, 1.2, true);
      view->SetExtent(envelope);
    }
    view->Refresh();
    document->RefreshContentsView();
  }
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
  int32_t nStep = 0;
  try {
    if (RefuseEmptyPolygon(polygon)) return false;
    nStep = 1;
    EnvelopePtr envelope = polygon->Envelope();
    nStep = 3;
    StudyAreaCatalogPtr catalog = Must(Must(dataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue");
    if (!catalog->Add(name)) throw HostError();
    nStep = 5;
    StudyAreaRecordPtr record = Must(catalog->Item(name), "the new study area record");
    nStep = 6;
    record->SetBaseDataSet(Must(dataSet, "the data set")->DataSetPath());
    nStep = 7;
    DescribeRecord(record, task, featuresList);
    FileInfoPtr fileInfo = NewFileInfo(record->FilePath());
    const std::string baseName = fileInfo->NamePart();
    nStep = 8;
    FeatureLayerPtr layer;
    if (envelope) {
      nStep = 9;
      layer = Must(CreateStudyAreaLayer(application, fileInfo->DirectoryPart(), baseName), "the study area layer");
      nStep = 10;
      layer->SetName(name);
      AddPolygonFeature(polygon, layer);
      nStep = 11;
      AddSpatialIndex(layer->FeatureClass());
      nStep = 12;
      record->SetFeatureClass(layer->FeatureClass());
      WriteLayerFile(layer, fileInfo->DirectoryPart(), baseName, &nStep);
    }
    TovExtensionPtr extension = Must(GetTovExtension(application), "the analysis extension");
    MakeCurrent(extension, name, GetTextResources()->FindString("189") + name, &nStep);
    nStep = 21;
    MapDocumentPtr document = Must(application->Document(), "the document");
    MapPtr focusMap = Must(document->FocusMap(), "the focus map");
    const bool useGroup =
        Must(extension->ExtensionOptions(), "the extension options")->GetProperty(kUseGroupLayerForAnalysis) == "True";
    Must(layer, "the study area layer");
    if (useGroup) {
      nStep = 22;
      std::string groupName = extension->ExtensionProperties()->GetProperty(kGroupLayerForAnalysis);
      if (groupName.empty()) groupName = kDefaultGroupLayerName;
      GroupLayerPtr group = GetGroupLayerByName(focusMap, groupName);
      if (!group) {
        group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
        group->SetName(groupName);
        group->SetVisible(true);
        focusMap->AddLayer(group);
      }
      nStep = 23;
      group->Add(layer);
      nStep = 24;
      MoveLastLayerToTop(group);
      nStep = 25;
    } else {
      nStep = 26;
      focusMap->AddLayer(layer);
      nStep = 27;
    }
    nStep = 28;
    ResetOutlineWidths(document, catalog, extension->ExtensionProperties()->GetProperty(kCurrentExtent));
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
      auto files = CreateAs<FileSystemObject>("Scripting.FileSystemObject");
      if (files->FileExists(path)) files->DeleteFile(path);
      WriteLayerFile(layer, fileInfo->DirectoryPart(), baseName, nullptr);
    }

    TovExtensionPtr extension = Must(GetTovExtension(application), "the analysis extension");
    MakeCurrent(extension, name, "Analyses created for " + name, nullptr);
    ZoomToCurrentStudyArea(extension, Must(Must(application, "the application")->Document(), "the document"));
    polygon.reset();
    return true;
  });
}

} // namespace tov
