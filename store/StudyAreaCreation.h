#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/HostApplication.h"
#include "platform/gis/MapDocument.h"

#include <string>

namespace tov {

// Turns a polygon into a stored, current study area named name: catalogue
// record, one-feature dataset, layer file, map layer (in the analysis group
// layer when the settings say so), outline widths, zoom. True when stored;
// then the caller's polygon is released. Nothing done is undone on failure.
bool CreateStudyArea(GeometryPtr& polygon, DataManagerPtr& dataManager, HostApplicationPtr& application,
                     std::string& name, HostDatasetPtr& dataSet, TaskDescriptorPtr& task,
                     std::string& featuresList);

// Stores the polygon again for an existing study area (started from its
// property sheet): the first feature's shape is replaced, or the dataset and
// layer file are made anew when they are missing. No map changes but the zoom.
bool CreateStudyAreaPP(GeometryPtr& polygon, DataManagerPtr& dataManager, HostApplicationPtr& application,
                       std::string& name, HostDatasetPtr& dataSet, TaskDescriptorPtr& task,
                       std::string& featuresList);

// Draws the current study area with a 4.0 outline and every other study area
// layer (a feature layer the catalogue knows by name) of every map with 2.0.
void ResetOutlineWidths(const MapDocumentPtr& document, const StudyAreaCatalogPtr& catalog,
                        const std::string& current);

} // namespace tov
