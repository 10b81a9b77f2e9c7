#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tov {

// What was found whole (a study area's layer file and data, a shapefile),
// with the identity (device, inode, size, modification and change times) of
// every file it was checked with: while all of them are as they were, it is
// not read and checked again. Kept for an analysis folder in the user's
// cache, one file per kind and folder, removed once that folder is gone; a
// cache that cannot be read or written only makes the checks run again.
// Made without a folder, it is kept in memory only.
class FilesFoundWhole {
public:
  FilesFoundWhole() = default;
  // `kind` names the cache's folder and, with `header`, what its file holds.
  FilesFoundWhole(const std::string& kind, const std::string& header, const std::string& analysisFolder);

  // True when `subject` was found whole and none of its files changed since;
  // then `description` (if given) is what was remembered with it.
  bool StillWhole(const std::string& subject, std::string* description = nullptr) const;
  // Remembers `subject` as whole with its files as seen (stat) when it was
  // checked, and what was found then (`description`, none when empty). A
  // file changed too recently is not remembered: the file system's clock
  // may not tell a change made in the same tick.
  void RememberWhole(const std::string& subject, const std::vector<std::pair<std::string, struct stat>>& files,
                     std::string description = {});
  void Forget(const std::string& subject);
  // The files `subject` was remembered with, the first first (none when it was not).
  std::vector<std::string> FilesOf(const std::string& subject) const;
  // Writes the cache when anything changed.
  void Save();

  // Where the cache of that kind for an analysis folder is kept.
  static std::string CacheFile(const std::string& kind, const std::string& analysisFolder);

  // A file's device, inode, size and modification and change times (ns),
  // compared as numbers: a check of thousands of files compares them all.
  struct Identity {
    uint64_t device = 0, inode = 0;
    int64_t size = -1, modified = 0, changed = 0;
    bool operator==(const Identity& o) const {
      return device == o.device && inode == o.inode && size == o.size && modified == o.modified && changed == o.changed;
    }
    bool operator!=(const Identity& o) const { return !(*this == o); }
  };

private:
  struct Entry {
    std::vector<std::string> files;
    std::vector<Identity> identities;
    std::string description;
    mutable bool seenNow = false; // found as it was, or remembered, by this process
  };
  std::string m_header; // the cache file's first line, with its folder
  std::string m_file;   // none: in memory only
  int64_t m_settleNanoseconds = -1; // how long after a change its files' times are trusted
  std::map<std::string, Entry> m_entries;
  bool m_changed = false;
};

// One cache of a kind for the process, that of the analysis folder in use:
// read when first asked, written by Save.
class FolderFilesCache {
public:
  FolderFilesCache(std::string kind, std::string header) : m_kind(std::move(kind)), m_header(std::move(header)) {}
  // From now on that folder's cache; "" for one kept in memory only.
  void Use(const std::string& analysisFolder);
  void Save();
  // Runs f(FilesFoundWhole&) with the cache, for one thread at a time.
  template <typename F> auto With(F f) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_read) {
      m_found = FilesFoundWhole(m_kind, m_header, m_folder);
      m_read = true;
    }
    return f(m_found);
  }

private:
  const std::string m_kind, m_header;
  std::mutex m_mutex;
  FilesFoundWhole m_found;
  std::string m_folder;
  bool m_read = true; // m_found is m_folder's cache
};

} // namespace tov
