#include "manage/ManageUtils.h"

#include "platform/forms/MsgBox.h"
#include "platform/gis/FileSystemObject.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/PathDisplay.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

bool IsPersonalGeodatabase(const WorkspacePtr& workspace) {
  const std::string factoryId = Must(Must(workspace, "the workspace")->WorkspaceFactory(), "the workspace factory")->ClassID();
  return factoryId == CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId)->ClassID();
}

std::string AbsolutePathName(const std::string& path) {
  return CreateAs<FileSystemObject>(kFileSystemObjectProgId)->GetAbsolutePathName(path);
}

bool ShowSameData(const FeatureClassPtr& a, const FeatureClassPtr& b) {
  if (!a || !b) return false;
  WorkspacePtr wa = Must(a->Workspace(), "a dataset's workspace");
  WorkspacePtr wb = Must(b->Workspace(), "a dataset's workspace");
  if (Must(wa->WorkspaceFactory(), "a workspace factory")->ClassID() !=
      Must(wb->WorkspaceFactory(), "a workspace factory")->ClassID())
    return false;
  if (a->Name() != b->Name()) return false;
  return AbsolutePathName(wa->PathName()) == AbsolutePathName(wb->PathName());
}

void DeleteDatasetAndGeodatabase(const FeatureClassPtr& dataset) {
  if (!dataset) return;
  WorkspacePtr workspace = Must(dataset->Workspace(), "the dataset's workspace");
  dataset->Delete();
  if (IsPersonalGeodatabase(workspace)) workspace->Delete();
}

void ShowUnableToLocate(const std::string& path) {
  MsgBox("Tovana was unable to locate the following file: \r\n" + ShownPath(path), vbCritical | vbOKOnly, "Tovana");
}

void SetOutlineWidth(const FeatureLayerPtr& layer, double width) {
  FillSymbolPtr fill = Must(As<FillSymbol>(Must(layer->Renderer(), "the layer's renderer")->Symbol()), "a fill symbol");
  LineSymbolPtr outline = Must(fill->Outline(), "the fill symbol's outline");
  outline->SetWidth(width);
  // The outline is held by value: put it back.
  fill->SetOutline(outline);
}

} // namespace tov
