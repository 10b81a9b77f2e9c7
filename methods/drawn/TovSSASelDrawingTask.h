#pragma once
#include "framework/TovSSAMethodTask.h"
#include "platform/gis/Feature.h"

namespace tov {

// The study area is drawn on a map: a rectangle, a polygon or a circle on
// the drawing page, then the name page. The drawn shape travels to the
// function as the shape of one feature.
class TovSSASelDrawingTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSASelDrawingTask";
  TovSSASelDrawingTask();

  // The drawing page, then the name page: 0 when the name page finished, 2
  // Back on the drawing page, -1 Cancel. Back on the name page shows the
  // drawing page again with what was drawn.
  int32_t ShowSelectByDrawingOwnAreaDialog();

  // The drawing page for a study area drawn again (the host's property
  // sheet): it starts as after a visit, with the stored shape and the map
  // around it, and no name page follows. As RunPagesKeepingName.
  int32_t DrawAgain(const FeaturePtr& stored);

  // The feature holding the drawn area once the drawing page was left.
  const FeaturePtr& Feature() const { return m_pFeature; }

protected:
  int32_t RunPages() override;
  // Only a missing function leaves InitFunction nothing to do; the
  // function's own Init says what else is missing.
  bool FunctionInputsMissing() override;
  void PassParameters() override;

private:
  FeaturePtr m_pFeature;
};

} // namespace tov
