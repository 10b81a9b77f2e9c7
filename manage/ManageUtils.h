#pragma once
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Workspace.h"

#include <string>

namespace tov {

// What opening, deleting and managing study areas share. Host failures pass
// to the caller, which reports them under its own procedure.

// The file every study area's layer is saved in, inside its data folder.
inline constexpr char kStudyAreaLayerFileName[] = "StudyArea.lyr";

// True when the workspace is a personal geodatabase: its factory's class
// identifier is that of a new personal geodatabase factory.
bool IsPersonalGeodatabase(const WorkspacePtr& workspace);

// True when two feature classes are the same dataset: workspaces of the same
// kind of factory, the same absolute workspace path and the same class name.
// Either missing: false.
bool ShowSameData(const FeatureClassPtr& a, const FeatureClassPtr& b);

// The absolute form of a platform path.
std::string AbsolutePathName(const std::string& path);

// Deletes the dataset and, when it lived in a personal geodatabase, the
// geodatabase too (each study area has one of its own). No dataset: nothing.
void DeleteDatasetAndGeodatabase(const FeatureClassPtr& dataset);

// The critical "unable to locate" message with the path on its own line.
void ShowUnableToLocate(const std::string& path);

// Sets the outline width of a study area layer's fill symbol.
void SetOutlineWidth(const FeatureLayerPtr& layer, double width);

} // namespace tov
