#pragma once
#include "host/framework/Analysis.h"

#include <cstdint>
#include <string>

namespace tov {

// The descriptor of each creation method under "SetupStudyArea".
std::string DescriptorNameForTask(const std::string& taskProgId);

// What one run of a task gave.
struct HostTaskRunResult {
  int32_t pageResult = -1;   // DoParamSelector: 0 accepted, 2 back, -1 cancelled
  bool initParamSelector = false;
  bool initFunction = false;
  bool startFunction = false;
  int32_t status = 0;
  int32_t lastError = 0;
  long studyAreasBefore = 0;
  long studyAreasAfter = 0;
  std::string currentStudyArea; // "CurrentExtent" after the run
  bool Stored() const { return studyAreasAfter > studyAreasBefore; }
};

// Creates the task by ProgID and drives it exactly as the host does:
// SetParam "SSATask", "DataSet", "PropertySet"; Init; InitParamSelector;
// DoParamSelector; when it returns 0, InitFunction and StartFunction; then
// Status, LastError and Cleanup. The descriptor is the data set's
// "SetupStudyArea" child of that name (descriptorName "" picks the one that
// belongs to the ProgID). Pages go to the current presenter. Host failures
// (no data set, unknown task) raise HostError.
HostTaskRunResult RunHostTask(const Analysis& analysis, const std::string& taskProgId,
                              const std::string& descriptorName = std::string());

// A sentence for the user saying why a run stored nothing ("" when it did).
std::string DescribeNothingStored(const HostTaskRunResult& result);

} // namespace tov
