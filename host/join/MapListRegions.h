#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/MethodNames.h"

#include <memory>
#include <string>
#include <vector>

namespace tov {

class SelectFromListDialog;
class TovSSAMapListTask;

// The regions that the map list method of a data set offers by name, as its
// own task reads them and its list page shows them: the command line lists
// and checks names with it, the property sheet fills the list page with it.
class MapListRegions {
public:
  static constexpr const char* kMethodName = kMapListMethod;

  // The method of the data set; HostError 5 when the data set does not
  // offer it or its task refuses its settings.
  MapListRegions(const DataManagerPtr& dataManager, const HostApplicationPtr& application,
                 const std::string& datasetName);
  ~MapListRegions();

  const TaskDescriptorPtr& Descriptor() const { return m_descriptor; }
  const HostDatasetPtr& Dataset() const { return m_dataset; }
  // The method's task, set up on the data set: its pages run from here.
  TovSSAMapListTask& Task() const { return *m_task; }

  // A new list page holding every region and the method's label. A layer
  // the task cannot read leaves it empty (the task has said why).
  std::shared_ptr<SelectFromListDialog> NewListPage();
  // What the list page offers with this search text, in its order.
  std::vector<std::string> Offered(const std::string& search);
  // The region names of these identifiers ("MainLayerIDFieldName"), in the
  // order given; an identifier no region has any more is left out.
  std::vector<std::string> NamesOfIdentifiers(const std::vector<std::string>& identifiers);

private:
  TaskDescriptorPtr m_descriptor;
  HostDatasetPtr m_dataset;
  HostApplicationPtr m_application;
  std::shared_ptr<TovSSAMapListTask> m_task;
};

} // namespace tov
