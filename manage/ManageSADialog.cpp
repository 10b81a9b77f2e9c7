#include "manage/ManageSADialog.h"

#include "manage/ManageUtils.h"
#include "manage/SAEditNameDialog.h"
#include "pages/modi18N.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/FileInfo.h"
#include "platform/framework/ITovFunction.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/FileSystemObject.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/LayerFile.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextReplace.h"
#include "platform/runtime/Trap.h"
#include "store/Settings.h"
#include "store/StudyAreaDataset.h"

#include <optional>

namespace tov {

namespace {

constexpr long kLayoutBase = 200;
constexpr char kNamesList[] = "SANamesList";
constexpr int32_t kEditOK = 1;
constexpr int32_t kTaskCancelled = -1;

std::string Text(const char* id) { return GetTextResources()->FindString(id); }

} // namespace

ManageSADialog::ManageSADialog() : Form("ManageSADialog") {
  // Design-time texts are resource ids, replaced when the dialog loads.
  SetCaption("250");
  Add(ControlKind::CommandButton, "RemoveAllButton")->SetCaption("254");
  Add(ControlKind::CommandButton, "RemoveButton")->SetCaption("253");
  Add(ControlKind::CommandButton, "ModifyButton")->SetCaption("252");
  Add(ControlKind::CommandButton, "RenameButton")->SetCaption("251");
  Add(ControlKind::CommandButton, "CloseButton")->SetCaption("206");
  AddListBox(kNamesList, 2);
  On("RenameButton", EventKind::Click, [this](EventArgs&) { RenameButton_Click(); });
  On("ModifyButton", EventKind::Click, [this](EventArgs&) { ModifyButton_Click(); });
  On("RemoveButton", EventKind::Click, [this](EventArgs&) { RemoveButton_Click(); });
  On("RemoveAllButton", EventKind::Click, [this](EventArgs&) { RemoveAllButton_Click(); });
  On("CloseButton", EventKind::Click, [this](EventArgs&) { CloseButton_Click(); });
}

void ManageSADialog::Form_Load() {
  ApplyLocaleFonts(*this);
  ApplyResourceTexts(*this);
  ApplyPageLayout(*this, kLayoutBase,
                  {"RemoveAllButton", "RemoveButton", "ModifyButton", "RenameButton", "CloseButton", kNamesList});
}

std::shared_ptr<ListControl> ManageSADialog::NamesList() { return CtlAs<ListControl>(kNamesList); }

void ManageSADialog::InitializeDialog(const std::string& name) {
  auto list = NamesList();
  list->Clear();
  StudyAreaCatalogPtr catalog = m_pDataManager ? m_pDataManager->GetStudyAreaCatalog() : nullptr;
  CollectionPtr names = catalog ? catalog->Names() : nullptr;
  if (!names) return;
  long current = -1;
  for (long i = 1; i <= names->Count(); ++i) {
    const std::string each = names->Item(i).ToString();
    list->AddItem(each);
    if (current < 0 && each == name) current = i - 1;
  }
  if (list->ListCount() > 0) list->SetListIndex(current >= 0 ? current : 0);
}

std::string ManageSADialog::CurrentName() {
  auto list = NamesList();
  return list->ListIndex() < 0 ? std::string() : list->List(list->ListIndex());
}

void ManageSADialog::CloseButton_Click() {
  m_Result = 0;
  Hide();
}

void ManageSADialog::RenameButton_Click() {
  TrapMessage([&] {
    const std::string name = CurrentName();
    if (name.empty()) return;
    StudyAreaRecordPtr record = Must(Must(m_pDataManager, "the data manager")->GetStudyAreaCatalog(),
                                     "the study area catalogue")->Item(name);
    if (!record) {
      // Gone since the list was filled (another window on the analysis; see
      // docs/departures.md).
      MsgBox(Text("127") + name, vbCritical);
      InitializeDialog(std::string());
      return;
    }
    FeatureLayerPtr fileLayer = OpenLayerFileLayer(record->FilePath());
    if (!fileLayer) {
      RemoveMissing(record, name);
      return;
    }
    Rename(record, fileLayer);
  });
}

void ManageSADialog::Rename(const StudyAreaRecordPtr& record, const FeatureLayerPtr& fileLayer) {
  StudyAreaCatalogPtr catalog = Must(m_pDataManager->GetStudyAreaCatalog(), "the study area catalogue");
  auto edit = std::make_shared<SAEditNameDialog>();
  edit->m_sNameToEdit = record->Name();
  edit->ResetParams();
  bool accepted = false;
  std::string newName;
  for (;;) {
    edit->ShowModal();
    if (edit->m_Result != kEditOK) break;
    newName = edit->NewName();
    if (newName == record->Name()) continue;
    if (catalog->Exists(newName)) {
      MsgBox("\"" + newName + Text("125"), vbExclamation, Text("126"));
      continue;
    }
    accepted = true;
    break;
  }

  std::optional<HostError> failure;
  if (accepted) {
    failure = FailureOf([&] {
      const std::string oldName = record->Name();
      record->SetName(newName);
      KeepSettingsOnRename(oldName, newName);
      FeatureLayerPtr layer = RenameMapLayers(record, newName);
      // Not in any map: the layer file's own layer carries the new name.
      if (!layer) layer = fileLayer;
      const std::string path = record->FilePath();
      auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
      layerFile->Open(path);
      auto fileInfo = CreateAs<FileInfo>(kFileInfoProgId);
      fileInfo->SetPath(path);
      layer->SetDataSourceRelativeBase(fileInfo->DirectoryPart());
      layer->SetName(newName);
      layerFile->SetLayer(layer);
      layerFile->Save();
      record->SetFeatureClass(layer->FeatureClass());
    });
  }
  // Refilled also after Cancel, with whatever the user last typed preselected.
  const std::string preselect = edit->NewName();
  edit->Unload();
  InitializeDialog(preselect);
  if (failure) throw *failure;
}

void ManageSADialog::KeepSettingsOnRename(const std::string& oldName, const std::string& newName) {
  // The renamed study area stays current, and its group stays the one new
  // analyses go into (see docs/departures.md).
  TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
  TextPropertySetPtr properties = Must(extension->ExtensionProperties(), "the extension properties");
  if (properties->GetProperty(kCurrentExtentKey) == oldName) properties->SetProperty(kCurrentExtentKey, newName);
  const std::string group = std::string(kAnalysesCreatedFor) + oldName;
  if (properties->GetProperty(kGroupLayerForAnalysisKey) == group)
    properties->SetProperty(kGroupLayerForAnalysisKey, kAnalysesCreatedFor + newName);
}

FeatureLayerPtr ManageSADialog::RenameMapLayers(const StudyAreaRecordPtr& record, const std::string& newName) {
  MapDocumentPtr document = Must(Must(m_pApplication, "the application")->Document(), "the document");
  auto files = CreateAs<FileSystemObject>(kFileSystemObjectProgId);
  const std::string personalGeodatabase = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId)->ClassID();
  const std::string layerFilePath = record->FilePath();
  FeatureLayerPtr found;
  // A group layer holding the study area in several maps is renamed once:
  // a second replacement would go on inside the new name (see
  // docs/departures.md).
  std::set<const void*> renamedGroups;
  for (long m = 0; m < document->MapCount(); ++m) {
    EnumLayerPtr layers = Must(Must(document->Map(m), "a map")->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr each = layers->Next()) {
      // A layer that cannot be examined is not the study area's.
      FailureOf([&] {
        FeatureLayerPtr layer = As<FeatureLayer>(each);
        if (!layer || !layer->FeatureClass()) return;
        FeatureClassPtr featureClass = layer->FeatureClass();
        WorkspacePtr workspace = Must(featureClass->Workspace(), "the layer's workspace");
        std::string folder = workspace->PathName();
        if (Must(workspace->WorkspaceFactory(), "the workspace factory")->ClassID() == personalGeodatabase) {
          // A personal geodatabase is a file inside the study area's folder.
          auto fileInfo = CreateAs<FileInfo>(kFileInfoProgId);
          fileInfo->SetPath(folder);
          folder = fileInfo->DirectoryPart();
        }
        if (files->GetAbsolutePathName(folder) + "\\" + kStudyAreaLayerFileName != layerFilePath) return;
        RenameGroupLayers(files->GetAbsolutePathName(workspace->PathName()), layer->Name(), newName,
                          featureClass->Name(), renamedGroups);
        layer->SetName(newName);
        found = layer;
      });
    }
    document->RefreshContentsView();
  }
  return found;
}

void ManageSADialog::RenameGroupLayers(const std::string& workspacePath, const std::string& layerName,
                                       const std::string& newName, const std::string& datasetName,
                                       std::set<const void*>& renamed) {
  MapDocumentPtr document = Must(m_pApplication->Document(), "the document");
  auto files = CreateAs<FileSystemObject>(kFileSystemObjectProgId);
  for (long m = 0; m < document->MapCount(); ++m) {
    EnumLayerPtr layers = Must(Must(document->Map(m), "a map")->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr each = layers->Next()) {
      GroupLayerPtr group = As<GroupLayer>(each);
      if (!group || renamed.count(group.get())) continue;
      bool holdsIt = false;
      for (long c = 0; c < group->Count() && !holdsIt; ++c) {
        // A child that cannot be examined is not the study area's.
        FailureOf([&] {
          FeatureLayerPtr child = As<FeatureLayer>(group->Layer(c));
          if (!child || !child->FeatureClass()) return;
          WorkspacePtr workspace = Must(child->FeatureClass()->Workspace(), "the layer's workspace");
          holdsIt = files->GetAbsolutePathName(workspace->PathName()) == workspacePath &&
                    child->FeatureClass()->Name() == datasetName;
        });
      }
      if (!holdsIt) continue;
      group->SetName(ReplaceAll(group->Name(), layerName, newName));
      renamed.insert(group.get());
    }
  }
}

void ManageSADialog::ModifyButton_Click() {
  TrapMessage([&] {
    auto list = NamesList();
    const long index = list->ListIndex();
    if (index < 0) return;
    const std::string name = list->List(index);
    StudyAreaRecordPtr record = Must(Must(m_pDataManager, "the data manager")->GetStudyAreaCatalog(),
                                     "the study area catalogue")->Item(name);
    if (!record) {
      MsgBox(Text("127") + name, vbCritical);
      return;
    }
    if (!OpenLayerFileLayer(record->FilePath())) {
      RemoveMissing(record, name);
      return;
    }
    // A property sheet that cannot be made is told as missing.
    ITovTaskPtr task;
    FailureOf([&] { task = CreateAs<ITovTask>(kPropertySheetTaskProgId); });
    if (!task) {
      MsgBox(Text("128"), vbCritical);
      return;
    }
    if (!task->Init(m_pDataManager, m_pApplication)) return;
    if (!task->InitParamSelector()) return;
    Variant studyArea(record);
    if (!task->SetParam("StudyArea", studyArea)) return;
    if (task->DoParamSelector() != kTaskCancelled) {
      task->InitFunction();
      task->StartFunction();
    }
    InitializeDialog(std::string());
    if (index < list->ListCount()) {
      for (long i = 0; i < list->ListCount(); ++i) list->SetSelected(i, false);
      list->SetListIndex(index);
    }
    Must(Must(Must(m_pApplication, "the application")->Document(), "the document")->ActiveView(), "the active view")
        ->Refresh();
  });
}

void ManageSADialog::RemoveMissing(const StudyAreaRecordPtr& record, const std::string& name) {
  ShowUnableToLocate(record->FilePath());
  auto list = NamesList();
  for (long i = 0; i < list->ListCount(); ++i) list->SetSelected(i, list->List(i) == name);
  RemoveButton_Click();
}

void ManageSADialog::RemoveButton_Click() {
  auto list = NamesList();
  auto names = std::make_shared<Collection>();
  for (long i = 0; i < list->ListCount(); ++i)
    if (list->Selected(i)) names->Add(Variant(list->List(i)));
  RemoveStudyAreas(names);
}

void ManageSADialog::RemoveAllButton_Click() {
  auto list = NamesList();
  auto names = std::make_shared<Collection>();
  for (long i = 0; i < list->ListCount(); ++i) names->Add(Variant(list->List(i)));
  RemoveStudyAreas(names);
}

void ManageSADialog::RemoveStudyAreas(const CollectionPtr& names) {
  TrapMessage([&] {
    auto function = CreateAs<ITovFunction>(kDeleteExistingSAFuncProgId);
    Variant application(m_pApplication), dataManager(m_pDataManager), list(names);
    function->SetParam("Application", application);
    function->SetParam("DataManager", dataManager);
    function->SetParam("StudyAreaNames", list);
    if (!function->Init()) {
      // A refused Init leaves no error behind: the failure message is empty.
      ShowFailureMessage(HostError());
      return;
    }
    function->Start();
    while (function->DoStep()) {
    }
    InitializeDialog(std::string());
  });
}

} // namespace tov
