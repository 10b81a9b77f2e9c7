#pragma once
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A layer of a host data set.
class DataSetLayer : public virtual Object {
public:
  // The name task layers and "MainLayer" settings refer to.
  virtual std::string Name() = 0;
  // The feature class to open through the DataAccessService.
  virtual std::string SourceName() = 0;
  // The name the layer has in a map.
  virtual std::string MapLayerName() = 0;
};

using DataSetLayerPtr = std::shared_ptr<DataSetLayer>;

} // namespace tov
