#include "host/framework/AnalysisDataManager.h"

#include "host/common/Paths.h"
#include "host/framework/HostEnvironment.h"
#include "platform/runtime/HostError.h"

#include <sys/stat.h>

namespace tov {

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

} // namespace tov
