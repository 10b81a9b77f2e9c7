#include "host/framework/CheckedStudyAreas.h"

#include "host/common/TextDigest.h"
#include "host/common/UserFolders.h"
#include "host/gis/LayerJson.h"
#include "platform/runtime/HostError.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <time.h>

namespace fs = std::filesystem;

namespace tov {
namespace {

constexpr char kHeader[] = "tovana checked study areas 1";

// How long after a change a file's times are trusted to show its next one.
// Local Linux file systems stamp changes with the kernel's clock tick (10 ms
// at most); others (FAT's two seconds, a server's clock) are given longer.
int64_t SettleNanoseconds(const std::string& path) {
  struct statfs fs {};
  if (statfs(path.c_str(), &fs) == 0) {
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC: case XFS_SUPER_MAGIC: case BTRFS_SUPER_MAGIC: case TMPFS_MAGIC:
    case OVERLAYFS_SUPER_MAGIC: case F2FS_SUPER_MAGIC:
      return 100'000'000;
    default: break;
    }
  }
  return 2'000'000'000;
}

int64_t Nanoseconds(const struct timespec& t) { return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

// The file's identity, empty when it is not there; `changed` its change time.
// Made without streams or to_string: a list of thousands makes four a study area.
std::string Identity(const std::string& path, int64_t* changed = nullptr) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  if (changed) *changed = Nanoseconds(st.st_ctim);
  char text[128];
  char* const end = text + sizeof text;
  char* p = std::to_chars(text, end, st.st_dev).ptr;
  *p++ = ':';
  p = std::to_chars(p, end, st.st_ino).ptr;
  *p++ = ':';
  p = std::to_chars(p, end, st.st_size).ptr;
  *p++ = ':';
  p = std::to_chars(p, end, Nanoseconds(st.st_mtim)).ptr;
  *p++ = ':';
  p = std::to_chars(p, end, Nanoseconds(st.st_ctim)).ptr;
  return std::string(text, p);
}

// Paths are written one field each: tabs, line ends and backslashes escaped.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields(1);
  size_t i = 0;
  while (i < line.size()) {
    // Runs without a tab or a backslash are taken whole.
    size_t stop = i;
    while (stop < line.size() && line[stop] != '\t' && line[stop] != '\\') ++stop;
    fields.back().append(line, i, stop - i);
    if (stop == line.size()) break;
    if (line[stop] == '\t') {
      fields.emplace_back();
      i = stop + 1;
    } else if (stop + 1 < line.size()) {
      const char next = line[stop + 1];
      fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next;
      i = stop + 2;
    } else {
      fields.back() += '\\'; // a backslash that ends the line stays
      i = stop + 1;
    }
  }
  return fields;
}

std::string CanonicalFolder(const std::string& folder) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(folder, ec);
  if (ec) canonical = fs::absolute(folder, ec).lexically_normal();
  return canonical.string();
}

// The caches of analysis folders that are gone, as a list writing its own
// finds them: each names its folder on its first line.
void RemoveCachesOfGoneFolders(const fs::path& cacheFolder) {
  std::error_code ec;
  for (fs::directory_iterator it(cacheFolder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename().string().find(".tmp") != std::string::npos) continue;
    std::ifstream in(it->path(), std::ios::binary);
    std::string line;
    if (!std::getline(in, line)) continue;
    const std::vector<std::string> header = SplitFields(line);
    std::error_code gone;
    if (header.size() == 2 && header[0] == kHeader && !fs::exists(header[1], gone) && !gone)
      fs::remove(it->path(), gone);
  }
}

} // namespace

std::string CheckedStudyAreas::CacheFile(const std::string& analysisFolder) {
  return (fs::path(UserCacheFolder()) / "checked" / TextDigest(CanonicalFolder(analysisFolder))).string();
}

CheckedStudyAreas::CheckedStudyAreas(const std::string& analysisFolder)
    : m_folder(CanonicalFolder(analysisFolder)), m_settleNanoseconds(SettleNanoseconds(m_folder)) {
  try {
    m_file = CacheFile(analysisFolder);
  } catch (const HostError&) {
    return; // no cache folder of the user's own: every study area is looked at
  }
  std::ifstream in(m_file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line) || SplitFields(line) != std::vector<std::string>{kHeader, m_folder}) return;
  while (std::getline(in, line)) {
    std::vector<std::string> fields = SplitFields(line);
    // The layer file, then pairs of a file and its identity, the layer file's first.
    if (fields.size() < 3 || fields.size() % 2 != 1) continue;
    Entry& entry = m_entries[fields[0]];
    for (size_t i = 1; i + 1 < fields.size(); i += 2) {
      entry.files.push_back(fields[i]);
      entry.identities.push_back(fields[i + 1]);
    }
  }
}

bool CheckedStudyAreas::StillWhole(const std::string& layerFile) const {
  auto it = m_entries.find(layerFile);
  if (it == m_entries.end() || it->second.files.empty() || it->second.files.front() != layerFile) return false;
  for (size_t i = 0; i < it->second.files.size(); ++i)
    if (Identity(it->second.files[i]) != it->second.identities[i]) return false;
  return true;
}

void CheckedStudyAreas::RememberWhole(const std::string& layerFile, const std::vector<std::string>& dataFiles) {
  if (m_file.empty()) return;
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  Entry entry;
  entry.files.push_back(layerFile);
  entry.files.insert(entry.files.end(), dataFiles.begin(), dataFiles.end());
  for (const std::string& file : entry.files) {
    int64_t changed = 0;
    std::string identity = Identity(file, &changed);
    if (identity.empty() || changed > Nanoseconds(now) - m_settleNanoseconds) return Forget(layerFile);
    entry.identities.push_back(std::move(identity));
  }
  m_entries[layerFile] = std::move(entry);
  m_changed = true;
}

void CheckedStudyAreas::Forget(const std::string& layerFile) {
  if (m_entries.erase(layerFile)) m_changed = true;
}

void CheckedStudyAreas::Save() const {
  if (!m_changed || m_file.empty()) return;
  std::ostringstream out;
  out << kHeader << "\t" << Escaped(m_folder) << "\n";
  for (const auto& [layerFile, entry] : m_entries) {
    out << Escaped(layerFile);
    // Identities are escaped too: one read from a damaged cache may hold anything.
    for (size_t i = 0; i < entry.files.size(); ++i)
      out << "\t" << Escaped(entry.files[i]) << "\t" << Escaped(entry.identities[i]);
    out << "\n";
  }
  // Written whole and renamed into place: a list running beside this one
  // reads either cache, never half of one. Failing leaves the old one.
  std::error_code ec;
  fs::create_directories(fs::path(m_file).parent_path(), ec);
  try {
    LayerJson::WriteFileAtomically(m_file, out.str(), "CheckedStudyAreas");
  } catch (const HostError&) {
    return;
  }
  RemoveCachesOfGoneFolders(fs::path(m_file).parent_path());
}

} // namespace tov
