#pragma once
#include "host/framework/Analysis.h"
#include "host/framework/TovErrorHandler.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tov {

// What one run of a task gave.
struct HostTaskRunResult {
  bool init = false;
  bool initParamSelector = false;
  int32_t pageResult = -1;   // DoParamSelector: 0 accepted, 2 back, -1 cancelled
  bool initFunction = false;
  bool startFunction = false;
  int32_t status = 0;
  int32_t lastError = 0;
  std::string studyAreaName;    // the name the name page accepted ("" when none)
  std::string currentStudyArea; // "CurrentExtent" after the run
  // True when the run really stored a study area: the current one is a name
  // the catalogue did not hold before the run, its record is there, its
  // layer file opens with its feature class, and the method's processing
  // made no failure report.
  bool stored = false;
  // True when the user gave up the method's processing (its progress
  // dialog's Cancel).
  bool cancelled = false;
  // The failure reports of the run, in order; functionReports of them were
  // made by the method's processing (InitFunction and StartFunction).
  std::vector<TovErrorHandler::Report> reports;
  size_t functionReports = 0;
  // The analysis as the run found it, and whether the run changed it (the
  // chooser's open and the manage dialog change it without storing anything).
  AnalysisMark before;
  bool changed = false;
  // The analysis as a run that stored nothing left it (else empty).
  AnalysisMark after;
  bool Stored() const { return stored; }
};

// Runs Study Area Setup as the host does: creates the main task
// "TovSSA.TovSetupStudyAreaMain" and calls Init, InitParamSelector,
// DoParamSelector; when that returns 0, InitFunction and StartFunction; then
// Status, LastError and Cleanup. Init or InitParamSelector returning False
// ends the run there. Pages go to the current presenter. Host failures (no
// current data set) raise HostError.
HostTaskRunResult RunHostTask(const Analysis& analysis);

// Runs one creation method's task alone, in the same order, after SetParam
// "SSATask", "DataSet" and "PropertySet". The descriptor is the data set's
// "SetupStudyArea" child of that name; "" picks the child that the installed
// component says belongs to the ProgID. Host failures (no data set, no such
// descriptor) raise HostError.
HostTaskRunResult RunHostTask(const Analysis& analysis, const std::string& taskProgId,
                              const std::string& descriptorName = std::string());

// Saves what a run did: the whole analysis when it stored a study area;
// when it stored none but changed the analysis (opened, renamed, removed or
// deleted study areas, then cancelled), only those changes, not what the
// caller did to the map before the run; nothing when it changed nothing.
// True when it saved. Called straight after the run: the document is saved
// as result.after holds it, which the save takes over (it is left empty).
bool SaveRunChanges(const Analysis& analysis, HostTaskRunResult& result);

// A sentence for the user saying why a run stored nothing ("" when it did):
// the failure report that stopped it, or how the wizard ended.
std::string DescribeNothingStored(const HostTaskRunResult& result);

// The user's sentence for one failure report. A report without number and
// text is the catalogue refusing the name of study area `name`.
std::string DescribeReport(const TovErrorHandler::Report& report, const std::string& name);

} // namespace tov
