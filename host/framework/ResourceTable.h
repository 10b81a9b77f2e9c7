#pragma once
#include <map>
#include <memory>
#include <string>

namespace tov {

using ResourceMap = std::map<std::string, std::string>;

// Reads an id<TAB>value table (further columns are notes). Lines starting
// with "#" and blank lines are skipped; in values \n, \t and \\ stand for a
// line break (CR LF), a tab and a backslash. Tables are read once per path
// and shared. A missing or unreadable file raises HostError 53.
std::shared_ptr<const ResourceMap> LoadResourceTable(const std::string& nativePath);
ResourceMap ParseResourceTable(const std::string& text, const std::string& where);

} // namespace tov
