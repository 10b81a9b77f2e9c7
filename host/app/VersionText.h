#pragma once
#include <string>

namespace tov {

// What `tovana --version` prints: the program's version, then the versions
// of the libraries it runs on (as loaded, which may differ from those it was
// built with). Qt is the window program's: the command line does not load it.
std::string VersionText(const std::string& programVersion, const std::string& qtVersion);

} // namespace tov
