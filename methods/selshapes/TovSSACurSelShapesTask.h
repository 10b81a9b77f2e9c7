#pragma once
#include "framework/TovSSAMethodTask.h"

namespace tov {

// The study area is the union of the selected polygon shapes of the focus
// map: the task shows what is selected, then asks for the name.
class TovSSACurSelShapesTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSACurSelShapesTask";
  TovSSACurSelShapesTask();

protected:
  int32_t RunPages() override;

private:
  // The summary page, then the name page; Back on the name page shows the
  // summary again.
  int32_t ShowSummarySelShapesDialog();
};

} // namespace tov
