#include "host/framework/CheckedStudyAreas.h"

namespace tov {
namespace {
constexpr char kKind[] = "checked";
constexpr char kHeader[] = "tovana checked study areas 1";
} // namespace

std::string CheckedStudyAreas::CacheFile(const std::string& analysisFolder) {
  return FilesFoundWhole::CacheFile(kKind, analysisFolder);
}

CheckedStudyAreas::CheckedStudyAreas(const std::string& analysisFolder) : m_found(kKind, kHeader, analysisFolder) {}

bool CheckedStudyAreas::StillWhole(const std::string& layerFile) const {
  const std::vector<std::string> files = m_found.FilesOf(layerFile);
  return !files.empty() && files.front() == layerFile && m_found.StillWhole(layerFile);
}

void CheckedStudyAreas::RememberWhole(const std::string& layerFile, const std::vector<std::string>& dataFiles) {
  std::vector<std::pair<std::string, struct stat>> seen;
  seen.reserve(dataFiles.size() + 1);
  auto look = [&](const std::string& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return false;
    seen.emplace_back(file, st);
    return true;
  };
  if (!look(layerFile)) return Forget(layerFile);
  for (const std::string& file : dataFiles)
    if (!look(file)) return Forget(layerFile);
  m_found.RememberWhole(layerFile, seen);
}

void CheckedStudyAreas::Forget(const std::string& layerFile) { m_found.Forget(layerFile); }

void CheckedStudyAreas::Save() { m_found.Save(); }

} // namespace tov
