#pragma once
#include "platform/framework/HostDataset.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// The host's data: its base data sets and the study area catalogue of the
// open analysis.
class DataManager : public virtual Object {
public:
  virtual long DataSetCount() = 0;
  // Data set at index from 0; 5 when out of range.
  virtual HostDatasetPtr DataSet(long index) = 0;
  virtual std::string DataSetName(long index) = 0;
  // The data set with exactly this name (or DataSetPath), or no object.
  virtual HostDatasetPtr DataSetByName(const std::string& name) = 0;

  virtual StudyAreaCatalogPtr GetStudyAreaCatalog() = 0;

  // Platform path of a media file by name ("Clock AVI": the animation shown
  // while processing); "" for an unknown name.
  virtual std::string MediaPath(const std::string& name) = 0;

  // Platform path (folder and base name, no extension) where a page may make
  // a scratch layer of its own, such as the area drawn on the drawing page:
  // in a new, empty folder inside the analysis, away from the study areas,
  // made for this call and removed with the data manager.
  virtual std::string ScratchLayerPath() = 0;
};

using DataManagerPtr = std::shared_ptr<DataManager>;

} // namespace tov
