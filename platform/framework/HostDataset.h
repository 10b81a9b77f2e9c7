#pragma once
#include "platform/framework/ConfigNode.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A base data set of the host: its layers, its configuration tree and its
// registered tasks.
class HostDataset : public virtual Object {
public:
  virtual std::string Name() = 0;
  // One text that names and locates the data set; the DataAccessService
  // accepts it as well as the name. In this host it equals Name().
  virtual std::string DataSetPath() = 0;

  // Registered task descriptors (top level), from 0; 5 when out of range.
  virtual long TaskCount() = 0;
  virtual TaskDescriptorPtr Task(long index) = 0;
  // First top-level descriptor with exactly this name, or no object.
  virtual TaskDescriptorPtr TaskByName(const std::string& name) = 0;

  // Data set layers, from 0; 5 when out of range.
  virtual long LayerCount() = 0;
  virtual DataSetLayerPtr Layer(long index) = 0;
  // The layer with exactly this name, or no object.
  virtual DataSetLayerPtr LayerByName(const std::string& name) = 0;

  // Root of the configuration tree (unnamed); never an empty pointer.
  virtual ConfigNodePtr Configuration() = 0;
};

using HostDatasetPtr = std::shared_ptr<HostDataset>;

} // namespace tov
