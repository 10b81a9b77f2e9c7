#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Opens the feature classes of the host's data sets. The data set argument
// is a data set's name or its DataSetPath (both accepted); empty means the
// current data set.
class DataAccessService : public virtual Object {
public:
  // The feature class, or no object when the data set or source is unknown.
  virtual std::shared_ptr<FeatureClass> OpenFeatureClass(const std::string& sourceName,
                                                         const std::string& dataSet) = 0;
  // A cursor over the features matching whereClause ("" = all), reading
  // subFields ("" or "*" = all fields); no object when the source cannot be
  // opened or the query is refused.
  virtual std::shared_ptr<FeatureCursor> SearchLayer(const std::string& sourceName, bool recycling,
                                                     const std::string& subFields,
                                                     const std::string& whereClause,
                                                     const std::string& dataSet = std::string()) = 0;
};

using DataAccessServicePtr = std::shared_ptr<DataAccessService>;

} // namespace tov
