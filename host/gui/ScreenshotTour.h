#pragma once
#include "host/framework/Analysis.h"

#include <functional>
#include <string>

namespace tov {

class MainWindow;
class QtPresenter;

// The screenshots of the documentation: a tour through the window and every
// page of Study Area Setup in it, each saved as a PNG in folder the first
// time it appears (named after its form, such as SelectSANameDialog.png),
// and the help window once. On each page the tour plays a user, then goes
// on; it makes and changes study areas, so it runs on an analysis of its
// own. afterPages shows what no page of the window leads to. False when a
// picture could not be saved.
bool RunScreenshotTour(MainWindow& window, QtPresenter& presenter, const AnalysisPtr& analysis,
                       const std::string& folder, const std::function<void()>& afterPages);

} // namespace tov
