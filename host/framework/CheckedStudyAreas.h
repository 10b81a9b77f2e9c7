#pragma once
#include "host/gis/FilesFoundWhole.h"

#include <string>
#include <vector>

namespace tov {

// The study areas of an analysis folder that `list` found whole, with every
// file it looked at (FilesFoundWhole): while all of them are as they were,
// the study area is not read and checked again, so that a list of thousands
// reads none of their files.
class CheckedStudyAreas {
public:
  explicit CheckedStudyAreas(const std::string& analysisFolder);

  // True when the layer file was found whole and it and its data files are
  // unchanged since.
  bool StillWhole(const std::string& layerFile) const;
  // Remembers the layer file as whole with the data files it was checked
  // with (see FilesFoundWhole::RememberWhole).
  void RememberWhole(const std::string& layerFile, const std::vector<std::string>& dataFiles);
  void Forget(const std::string& layerFile);
  // Writes the cache when anything changed.
  void Save();

  // Where the cache of an analysis folder is kept.
  static std::string CacheFile(const std::string& analysisFolder);

private:
  FilesFoundWhole m_found;
};

} // namespace tov
