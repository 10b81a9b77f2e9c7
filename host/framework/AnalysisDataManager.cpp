#include "host/framework/AnalysisDataManager.h"

#include "host/common/Paths.h"
#include "host/framework/HostEnvironment.h"
#include "platform/runtime/HostError.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace tov {

namespace {

namespace fs = std::filesystem;

constexpr char kScratchLayerName[] = "DrawnArea";

// Scratch folders are numbered per process, whichever analysis they are in.
std::atomic<long> g_scratchNumber{0};

// The process that made a scratch folder "<pid>-<n>", or 0 for a folder
// of another name.
pid_t OwnerOf(const std::string& folderName) {
  const auto dash = folderName.find('-');
  if (dash == std::string::npos || dash == 0) return 0;
  pid_t pid = 0;
  for (size_t i = 0; i < dash; ++i) {
    if (folderName[i] < '0' || folderName[i] > '9') return 0;
    pid = pid * 10 + (folderName[i] - '0');
  }
  return pid;
}

bool ProcessAlive(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

} // namespace

AnalysisDataManager::~AnalysisDataManager() {
  std::error_code ignored;
  for (const std::string& folder : m_scratchMade) fs::remove_all(folder, ignored);
}

std::string AnalysisDataManager::ScratchLayerPath() {
  const fs::path root = m_scratchFolder.empty() ? fs::temp_directory_path() / "tovana-scratch" : fs::path(m_scratchFolder);
  std::error_code error;
  if (!m_staleRemoved) {
    // A process that was killed left its scratch folders behind.
    m_staleRemoved = true;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
      const pid_t owner = OwnerOf(it->path().filename().string());
      std::error_code ignored;
      if (owner > 0 && owner != getpid() && !ProcessAlive(owner)) fs::remove_all(it->path(), ignored);
    }
    error.clear();
  }
  const fs::path folder = root / (std::to_string(getpid()) + "-" + std::to_string(++g_scratchNumber));
  fs::create_directories(folder, error);
  if (error)
    throw HostError(err::PathNotFound, "DataManager",
                    "The scratch folder " + folder.string() + " cannot be created (" + error.message() + ").");
  m_scratchMade.push_back(folder.string());
  return ToPlatformPath((folder / kScratchLayerName).string());
}

HostDatasetPtr AnalysisDataManager::DataSet(long index) {
  if (index < 0 || index >= DataSetCount())
    throw HostError(err::InvalidCall, "DataManager",
                    "There is no data set number " + std::to_string(index) + " (there are " +
                        std::to_string(DataSetCount()) + ").");
  return m_datasets[static_cast<size_t>(index)];
}

HostDatasetPtr AnalysisDataManager::DataSetByName(const std::string& name) {
  for (const auto& ds : m_datasets)
    if (ds->Name() == name || ds->DataSetPath() == name) return ds;
  return nullptr;
}

std::string AnalysisDataManager::MediaPath(const std::string& name) {
  if (name != "Clock AVI") return std::string();
  std::string native = ResourceRoot() + "/clock.gif";
  struct stat st {};
  return stat(native.c_str(), &st) == 0 ? ToPlatformPath(native) : std::string();
}

void AnalysisDataManager::AddDataSet(const JsonDatasetPtr& dataset) {
  for (JsonDatasetPtr& ds : m_datasets)
    if (ds->Name() == dataset->Name()) {
      ds = dataset;
      return;
    }
  m_datasets.push_back(dataset);
}

} // namespace tov
