#pragma once
#include <functional>
#include <string>

namespace tov {

// Process-wide settings of the host framework that objects created by ProgID
// (with no arguments) need: where the resources live, where error reports
// go and how a front end shows them.

// Native folder holding strings.tsv, layout.tsv, clock.gif, cursors/, help/.
// Default: $TOVANA_RESOURCES, else the program's share folder
// (DefaultResourceFolder).
std::string ResourceRoot();
void SetResourceRoot(const std::string& nativeFolder);

// Native path of the log the error handler appends to ("" = no log file).
// OpenAnalysis sets it to the analysis folder's log.txt.
std::string ErrorLogPath();
void SetErrorLogPath(const std::string& nativePath);

// How a report is shown when the handler's "Debug" is True. Default: one
// line on stderr. A GUI replaces it with a dialog; an empty function restores
// the default.
using ErrorDisplay = std::function<void(const std::string& line)>;
void SetErrorDisplay(ErrorDisplay display);
void ShowErrorLine(const std::string& line);

} // namespace tov
