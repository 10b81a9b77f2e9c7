#pragma once
#include <functional>
#include <string>

namespace tov {

// How a path is shown to people. The component builds platform paths
// (backslash separators); the host knows the form its users read and sets
// the conversion once. Without one, paths are shown as they are.
using PathDisplay = std::function<std::string(const std::string& path)>;

void SetPathDisplay(PathDisplay display);
std::string ShownPath(const std::string& path);

} // namespace tov
