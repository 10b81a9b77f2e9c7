#pragma once
#include "platform/framework/HostDataset.h"
#include "platform/gis/HostApplication.h"
#include "platform/gis/SpatialReference.h"

namespace tov {

// The data set the analysis extension names as current, or no object.
HostDatasetPtr GetCurrentBaseDataset(const HostApplicationPtr& application);

// The coordinate system new study areas are built in: the current data set's
// "Projections" / "Projection.ResultantDefault" node ("Type" "Projected" or
// "Geographic", "ID", and for projected systems optional "CentralMeridian",
// "StandardParallel1", "StandardParallel2"), else geographic 4269. No object
// (and no report) when the configuration cannot be read.
SpatialReferencePtr GetAnalysisSpatialReference(const HostApplicationPtr& application);

// Geographic 4035 (authalic sphere); no object after a reported failure.
SpatialReferencePtr CreateAuthalicSR();
// Geographic 4326 (WGS 84).
SpatialReferencePtr CreateWGS84SR();

} // namespace tov
