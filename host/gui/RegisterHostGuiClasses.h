#pragma once

namespace tov {

// What only the window adds: the progress runner over
// "TovKernel.ProgressRunner" shown as a progress window.
void RegisterHostGuiClasses();

} // namespace tov
