#include "store/AnalysisSpatialReference.h"

#include "platform/framework/ConfigNode.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"

namespace tov {

namespace {

constexpr long kFallbackCode = 4269;

SpatialReferenceFactoryPtr NewFactory() {
  return CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId);
}

// The attribute as a 32-bit code; -1 when missing or not a number.
long CodeOf(const PropertyListPtr& attributes, const char* name) {
  try {
    return Variant(attributes->GetValue(name)).ToLong();
  } catch (...) {
    return -1;
  }
}

// Sets one projection parameter from its attribute; a missing attribute, a
// value that is not a number or a projection without it is skipped.
template <class Setter>
void ApplyParameter(const PropertyListPtr& attributes, const char* name, Setter set) {
  try {
    const std::string text = attributes->GetValue(name);
    if (!text.empty()) set(Variant(text).ToDouble());
  } catch (...) {
  }
}

} // namespace

HostDatasetPtr GetCurrentBaseDataset(const HostApplicationPtr& application) {
  TovExtensionPtr extension = Must(GetTovExtension(application), "the analysis extension");
  DataManagerPtr dataManager = Must(extension->GetDataManager(), "the data manager");
  const std::string current = extension->CurrentDatasetName();
  for (long i = 0; i < dataManager->DataSetCount(); ++i)
    if (dataManager->DataSetName(i) == current) return dataManager->DataSet(i);
  return nullptr;
}

SpatialReferencePtr GetAnalysisSpatialReference(const HostApplicationPtr& application) {
  try {
    HostDatasetPtr dataset = Must(GetCurrentBaseDataset(application), "the current data set");
    ConfigNodePtr node;
    if (ConfigNodePtr projections = Must(dataset->Configuration(), "the configuration")->ChildByName("Projections"))
      node = projections->ChildByName("Projection.ResultantDefault");

    std::string type;
    long code = -1;
    PropertyListPtr attributes;
    if (node) {
      attributes = Must(node->Properties(), "the projection attributes");
      type = attributes->GetValue("Type");
      code = CodeOf(attributes, "ID");
    }

    SpatialReferenceFactoryPtr factory = NewFactory();
    if (type.empty() || code == -1) return factory->CreateGeographicCoordinateSystem(kFallbackCode);
    if (type == "Projected") {
      SpatialReferencePtr projected = factory->CreateProjectedCoordinateSystem(code);
      ApplyParameter(attributes, "CentralMeridian", [&](double v) { projected->SetCentralMeridian(v); });
      ApplyParameter(attributes, "StandardParallel1", [&](double v) { projected->SetStandardParallel1(v); });
      ApplyParameter(attributes, "StandardParallel2", [&](double v) { projected->SetStandardParallel2(v); });
      return projected;
    }
    if (type == "Geographic") return factory->CreateGeographicCoordinateSystem(code);
    return factory->CreateGeographicCoordinateSystem(kFallbackCode);
  } catch (...) {
    // Whatever failed, callers fail on their own first use of the missing
    // system.
    return nullptr;
  }
}

SpatialReferencePtr CreateAuthalicSR() {
  return Trap(ModuleErrorSite(kTovSSAUtilsModule), "CreateAuthalicSR ", SpatialReferencePtr(),
              [] { return NewFactory()->CreateGeographicCoordinateSystem(4035); });
}

SpatialReferencePtr CreateWGS84SR() {
  return Trap(ModuleErrorSite(kTovSSAUtilsModule), "CreateWGS84SR ", SpatialReferencePtr(),
              [] { return NewFactory()->CreateGeographicCoordinateSystem(4326); });
}

} // namespace tov
