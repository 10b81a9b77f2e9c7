#include "host/gis/FilesFoundWhole.h"

#include "host/common/Paths.h"
#include "host/common/TextDigest.h"
#include "host/common/UserFolders.h"
#include "host/gis/LayerJson.h"
#include "platform/runtime/HostError.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <time.h>

namespace fs = std::filesystem;

namespace tov {
namespace {

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

using Identity = FilesFoundWhole::Identity;

Identity IdentityOf(const struct stat& st) {
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<int64_t>(st.st_size),
          Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

// Written as its five numbers with ':' between them. Made without streams or
// to_string: an analysis of thousands of study areas has several a study area.
void AppendIdentity(std::string& out, const Identity& id) {
  char text[128];
  char* p = text;
  // Each number leaves room for the separator after it.
  auto put = [&](auto value, bool last) {
    p = std::to_chars(p, text + sizeof text - 1, value).ptr;
    if (!last) *p++ = ':';
  };
  put(id.device, false);
  put(id.inode, false);
  put(id.size, false);
  put(id.modified, false);
  put(id.changed, true);
  out.append(text, p);
}

// What a cache holds may be damaged: anything but five numbers is an
// identity no file has (size -1).
Identity ParseIdentity(std::string_view text) {
  Identity id;
  const char* p = text.data();
  const char* const end = p + text.size();
  auto number = [&](auto& value, bool last) {
    const auto r = std::from_chars(p, end, value);
    if (r.ec != std::errc() || (last ? r.ptr != end : (r.ptr == end || *r.ptr != ':'))) return false;
    p = r.ptr + (last ? 0 : 1);
    return true;
  };
  int64_t size = -1;
  if (!(number(id.device, false) && number(id.inode, false) && number(size, false) && number(id.modified, false) &&
        number(id.changed, true)) ||
      size < 0)
    return Identity();
  id.size = size;
  return id;
}

// Paths are written one field each: tabs, line ends and backslashes escaped.
void AppendEscaped(std::string& out, const std::string& text) {
  size_t from = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\' && c != '\t' && c != '\n') continue;
    out.append(text, from, i - from);
    out += c == '\\' ? "\\\\" : c == '\t' ? "\\t" : "\\n";
    from = i + 1;
  }
  out.append(text, from, std::string::npos);
}

std::string Escaped(const std::string& text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  // Most lines escape nothing: split at the tabs alone.
  if (line.find('\\') == std::string_view::npos) {
    fields.reserve(8);
    for (size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1)) {
      fields.back().assign(line.substr(0, tab));
      fields.emplace_back();
    }
    fields.back().assign(line);
    return fields;
  }
  size_t i = 0;
  while (i < line.size()) {
    // Runs without a tab or a backslash are taken whole.
    size_t stop = i;
    while (stop < line.size() && line[stop] != '\t' && line[stop] != '\\') ++stop;
    fields.back().append(line.substr(i, stop - i));
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

// The caches of analysis folders that are gone, as a cache writing its own
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
    if (header.size() == 2 && !fs::exists(header[1], gone) && !gone) fs::remove(it->path(), gone);
  }
}

} // namespace

std::string FilesFoundWhole::CacheFile(const std::string& kind, const std::string& analysisFolder) {
  return (fs::path(UserCacheFolder()) / kind / TextDigest(ComparablePath(analysisFolder))).string();
}

FilesFoundWhole::FilesFoundWhole(const std::string& kind, const std::string& header, const std::string& analysisFolder) {
  const std::string folder = ComparablePath(analysisFolder);
  m_header = header + "\t" + Escaped(folder);
  try {
    m_file = CacheFile(kind, analysisFolder);
  } catch (const HostError&) {
    return; // no cache folder of the user's own: kept in memory only
  }
  // Read whole and split in place: the cache of a large analysis has a line
  // for each of thousands of study areas.
  std::string text;
  try {
    text = LayerJson::ReadText(m_file, "FilesFoundWhole");
  } catch (const HostError&) {
    return; // none yet, or unreadable: checked again
  }
  std::string_view rest = text;
  auto nextLine = [&](std::string_view& line) {
    if (rest.empty()) return false;
    const size_t stop = rest.find('\n');
    line = rest.substr(0, stop);
    rest = stop == std::string_view::npos ? std::string_view() : rest.substr(stop + 1);
    return true;
  };
  std::string_view line;
  if (!nextLine(line) || SplitFields(line) != std::vector<std::string>{header, folder}) return;
  while (nextLine(line)) {
    std::vector<std::string> fields = SplitFields(line);
    // The subject, then pairs of a file and its identity, then what was
    // found, if anything was remembered with them.
    if (fields.size() < 3) continue;
    // Written in the map's order: each goes in at the end.
    Entry& entry = m_entries.emplace_hint(m_entries.end(), std::move(fields[0]), Entry())->second;
    entry.files.clear();
    entry.identities.clear();
    entry.description.clear();
    if (fields.size() % 2 == 0) entry.description = std::move(fields.back());
    for (size_t i = 1; i + 1 < fields.size(); i += 2) {
      entry.files.push_back(std::move(fields[i]));
      entry.identities.push_back(ParseIdentity(fields[i + 1]));
    }
  }
}

bool FilesFoundWhole::StillWhole(const std::string& subject, std::string* description) const {
  auto it = m_entries.find(subject);
  if (it == m_entries.end() || it->second.files.empty()) return false;
  for (size_t i = 0; i < it->second.files.size(); ++i) {
    struct stat st {};
    if (stat(it->second.files[i].c_str(), &st) != 0 || !S_ISREG(st.st_mode) || IdentityOf(st) != it->second.identities[i])
      return false;
  }
  it->second.seenNow = true;
  if (description) *description = it->second.description;
  return true;
}

void FilesFoundWhole::RememberWhole(const std::string& subject,
                                    const std::vector<std::pair<std::string, struct stat>>& files,
                                    std::string description) {
  if (files.empty()) return Forget(subject);
  if (m_settleNanoseconds < 0) m_settleNanoseconds = SettleNanoseconds(fs::path(files.front().first).parent_path().string());
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  Entry entry;
  for (const auto& [file, st] : files) {
    if (!S_ISREG(st.st_mode) || Nanoseconds(st.st_ctim) > Nanoseconds(now) - m_settleNanoseconds) return Forget(subject);
    entry.files.push_back(file);
    entry.identities.push_back(IdentityOf(st));
  }
  entry.description = std::move(description);
  entry.seenNow = true;
  auto it = m_entries.find(subject);
  if (it != m_entries.end() && it->second.files == entry.files && it->second.identities == entry.identities &&
      it->second.description == entry.description) {
    it->second.seenNow = true;
    return;
  }
  m_entries[subject] = std::move(entry);
  m_changed = true;
}

void FilesFoundWhole::Forget(const std::string& subject) {
  if (m_entries.erase(subject)) m_changed = true;
}

std::vector<std::string> FilesFoundWhole::FilesOf(const std::string& subject) const {
  auto it = m_entries.find(subject);
  return it == m_entries.end() ? std::vector<std::string>() : it->second.files;
}

void FilesFoundWhole::Save() {
  if (!m_changed || m_file.empty()) return;
  std::string out = m_header + "\n";
  for (auto it = m_entries.begin(); it != m_entries.end();) {
    const Entry& entry = it->second;
    // What is gone (a study area deleted) is not kept: nothing would ask for
    // it again. What this process found as it was is there.
    struct stat st {};
    if (!entry.seenNow && stat(entry.files.front().c_str(), &st) != 0) {
      it = m_entries.erase(it);
      continue;
    }
    AppendEscaped(out, it->first);
    for (size_t i = 0; i < entry.files.size(); ++i) {
      out += '\t';
      AppendEscaped(out, entry.files[i]);
      out += '\t';
      AppendIdentity(out, entry.identities[i]);
    }
    if (!entry.description.empty()) {
      out += '\t';
      AppendEscaped(out, entry.description);
    }
    out += '\n';
    ++it;
  }
  // Written whole and renamed into place: a process running beside this one
  // reads either cache, never half of one. Failing leaves the old one.
  std::error_code ec;
  fs::create_directories(fs::path(m_file).parent_path(), ec);
  try {
    LayerJson::WriteFileAtomically(m_file, out, "FilesFoundWhole");
  } catch (const HostError&) {
    return;
  }
  m_changed = false;
  RemoveCachesOfGoneFolders(fs::path(m_file).parent_path());
}

void FolderFilesCache::Use(const std::string& analysisFolder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (analysisFolder == m_folder) return;
  m_found.Save();
  m_found = FilesFoundWhole();
  m_folder = analysisFolder;
  m_read = analysisFolder.empty();
}

void FolderFilesCache::Save() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_found.Save();
}

} // namespace tov
