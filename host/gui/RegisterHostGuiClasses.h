#pragma once

namespace tov {

// The map control ("orvaCore.MapControl") for pages, and when the window
// runs, the progress runner over "TovKernel.ProgressRunner".
void RegisterHostGuiClasses(bool windowProgress);

} // namespace tov
