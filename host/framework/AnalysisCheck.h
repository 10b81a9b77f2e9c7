#pragma once
#include "host/framework/Analysis.h"
#include "host/framework/CheckedStudyAreas.h"
#include "platform/framework/StudyAreaRecord.h"

#include <string>
#include <vector>

namespace tov {

// What can be wrong in an analysis after a crash, a full disk or files
// removed by hand, and how to find it.
struct AnalysisFinding {
  enum class Kind {
    BrokenStudyArea,   // a record whose layer file or dataset is missing or unreadable
    FolderWithoutRecord,
    LayerDataMissing,  // a document layer whose data is gone
    DanglingCurrent,   // "CurrentExtent" names no study area
    LayerNameStale,    // a map layer shows a study area under another name (name: the layer's)
  };
  Kind kind;
  std::string name; // the study area, folder or layer concerned
  std::string text; // what is wrong, with the path
};

class AnalysisCheck {
public:
  // Why the study area's stored files cannot be used ("layer file missing:
  // PATH", "dataset missing: PATH", ...), or "" when they can.
  static std::string BrokenReason(const Analysis& analysis, const std::string& name);
  // The same for a record already looked up; with `checked`, a study area
  // found whole before and unchanged since is not looked at again.
  static std::string BrokenReason(StudyAreaRecord& record, CheckedStudyAreas* checked = nullptr);

  // Everything found, study areas in catalogue order first.
  static std::vector<AnalysisFinding> Check(const Analysis& analysis);

  // The repairs that need no study area function: folders without a record
  // removed, document layers without data dropped (from every map, at any
  // depth), a dangling "CurrentExtent" cleared, a layer under a study
  // area's old name renamed. Broken records are left to
  // the component's delete function. Returns what was done, one line each;
  // the document is not saved here.
  static std::vector<std::string> RepairOutsideCatalogue(const Analysis& analysis,
                                                         const std::vector<AnalysisFinding>& findings);
};

} // namespace tov
