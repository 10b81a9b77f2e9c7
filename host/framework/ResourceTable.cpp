#include "host/framework/ResourceTable.h"

#include "platform/runtime/HostError.h"

#include <fstream>
#include <mutex>
#include <sstream>

namespace tov {
namespace {
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[i + 1];
      if (n == 'n') { out += "\r\n"; ++i; continue; }
      if (n == 't') { out += '\t'; ++i; continue; }
      if (n == '\\') { out += '\\'; ++i; continue; }
    }
    out += s[i];
  }
  return out;
}

std::string TrimBlanks(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}
} // namespace

ResourceMap ParseResourceTable(const std::string& text, const std::string& where) {
  ResourceMap table;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      if (TrimBlanks(line).empty()) continue;
      throw HostError(err::InvalidCall, "Resources",
                      where + ", line " + std::to_string(lineNo) + ": an id must be followed by a tab and its value.");
    }
    std::string id = TrimBlanks(line.substr(0, tab));
    std::string rest = line.substr(tab + 1);
    size_t note = rest.find('\t'); // a third column holds notes only
    if (note != std::string::npos) rest = rest.substr(0, note);
    if (!table.emplace(id, Unescape(rest)).second)
      throw HostError(err::DuplicateKey, "Resources",
                      where + ", line " + std::to_string(lineNo) + ": the id " + id + " appears twice.");
  }
  return table;
}

std::shared_ptr<const ResourceMap> LoadResourceTable(const std::string& nativePath) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const ResourceMap>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(nativePath);
  if (it != cache.end()) return it->second;
  std::ifstream file(nativePath, std::ios::binary);
  if (!file)
    throw HostError(err::FileNotFound, "Resources",
                    "The resource table " + nativePath +
                        " cannot be read. Set TOVANA_RESOURCES to the folder that holds strings.tsv and layout.tsv.");
  std::ostringstream text;
  text << file.rdbuf();
  auto table = std::make_shared<const ResourceMap>(ParseResourceTable(text.str(), nativePath));
  cache.emplace(nativePath, table);
  return table;
}

} // namespace tov
