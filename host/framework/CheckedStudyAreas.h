#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tov {

// The study areas of an analysis folder that `list` found whole, with the
// identity (device, inode, size, modification and change times) of every
// file it looked at: while all of them are as they were, the study area is
// not read and checked again, so that a list of thousands reads none of
// their files. Kept in the user's cache, one file per analysis folder, and
// removed once that folder is gone; a cache that cannot be read or written
// only makes the list look again.
class CheckedStudyAreas {
public:
  explicit CheckedStudyAreas(const std::string& analysisFolder);

  // True when the layer file was found whole and it and its data files are
  // unchanged since.
  bool StillWhole(const std::string& layerFile) const;
  // Remembers the layer file as whole with the data files it was checked
  // with. A file changed too recently is not remembered: the file system's
  // clock may not tell a change made in the same tick.
  void RememberWhole(const std::string& layerFile, const std::vector<std::string>& dataFiles);
  void Forget(const std::string& layerFile);
  // Writes the cache when anything changed.
  void Save() const;

  // Where the cache of an analysis folder is kept.
  static std::string CacheFile(const std::string& analysisFolder);

private:
  struct Entry {
    std::vector<std::string> files; // the layer file first
    std::vector<std::string> identities;
  };
  std::string m_folder; // the analysis folder, made canonical
  int64_t m_settleNanoseconds = 0; // how long after a change its files' times are trusted
  std::string m_file;
  std::map<std::string, Entry> m_entries;
  bool m_changed = false;
};

} // namespace tov
