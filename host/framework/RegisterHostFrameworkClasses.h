#pragma once

namespace tov {

// Registers the host framework's creatable classes:
//   "TovKernel.TovErrorHandler"              error handler (log.txt, stderr)
//   "TovDM.TovFileInfo"                      path splitter
//   "TovKernel.NameChecker"                  study area name rules
//   "TovKernel.ProgressRunner"               terminal progress runner
//   "TovKernel.TaskPropertySet"              new, empty wizard state
//   "TovKernel.TovExtension"                 the extension of the analysis opened last
//   "TovSetupStudyAreaRes.clsFindResource"   texts (resources/strings.tsv)
//   "TovSetupStudyAreaGuiRes.clsFindResource" layout and cursors (resources/layout.tsv)
// A front end may register its own class under a ProgID afterwards (a GUI
// progress runner, for instance).
void RegisterHostFrameworkClasses();

} // namespace tov
