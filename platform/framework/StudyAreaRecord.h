#pragma once
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// One saved study area of the analysis. Every change is stored at once.
class StudyAreaRecord : public virtual Object {
public:
  virtual std::string Name() = 0;
  // Renames the record; its folder and files keep their paths. A name that
  // another record holds, or that the name checker refuses, raises HostError.
  virtual void SetName(const std::string& name) = 0;
  // P: the study area's layer file, absolute, in platform form:
  // <analysis folder>\StudyAreas\<id>\StudyArea.lyr. Never changes.
  virtual std::string FilePath() = 0;
  virtual std::string BaseDataSet() = 0;
  virtual void SetBaseDataSet(const std::string& dataSetPath) = 0;
  // "TYPE", "MAINLAYER", "FEATURESLIST", ...: text values, persisted.
  virtual TextPropertySetPtr RecordProperties() = 0;
  // The study area's dataset; the record keeps its location.
  virtual void SetFeatureClass(const std::shared_ptr<FeatureClass>& featureClass) = 0;
  // The feature class last given to the record (this session), or no object.
  virtual std::shared_ptr<FeatureClass> GetFeatureClass() = 0;
};

using StudyAreaRecordPtr = std::shared_ptr<StudyAreaRecord>;

} // namespace tov
