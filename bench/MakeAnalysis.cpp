// Makes an analysis holding many study areas, for the benchmarks that time
// commands as an analysis grows (bench/run): the study areas are stored by
// the store itself, in one process, and the analysis saved once.
//   bench_make_analysis LOCATION COUNT [DATA_ROOT]
// LOCATION is a folder or a shared analysis ("postgresql://...?schema=S");
// COUNT small squares spread over the sample's lower 48 states are stored
// as "Area 1" ... "Area COUNT" with the current extent method's record.
#include "host/framework/Analysis.h"
#include "host/framework/MethodDescriptor.h"
#include "host/join/HostSetup.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/StudyAreaCreation.h"

#include <cstdio>
#include <string>

namespace tov {
namespace {

// A square of the analysis system (Albers, metres) in a grid over the lower
// 48 states.
GeometryPtr Square(long i, const SpatialReferencePtr& sr) {
  const double x = -2000000.0 + static_cast<double>(i % 40) * 100000.0;
  const double y = 300000.0 + static_cast<double>((i / 40) % 25) * 100000.0;
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  for (auto [dx, dy] : {std::pair{0.0, 0.0}, {0.0, 50000.0}, {50000.0, 50000.0}, {50000.0, 0.0}}) {
    auto p = CreateAs<Point>(kPointProgId);
    p->PutCoords(x + dx, y + dy);
    polygon->AddPoint(p);
  }
  polygon->SetSpatialReference(sr);
  return polygon;
}

int Make(const std::string& location, long count, const std::string& dataRoot) {
  RegisterAllHostClasses();
  AnalysisPtr analysis = OpenAnalysis(location, "USA", dataRoot);
  DataManagerPtr dataManager = analysis->dataManager;
  HostApplicationPtr application = analysis->application;
  HostDatasetPtr dataSet = dataManager->DataSetByName("USA");
  TaskDescriptorPtr task = FindMethodDescriptor(dataSet, kCurrentExtentMethod);
  SpatialReferencePtr sr = GetAnalysisSpatialReference(application);
  std::string features;
  for (long i = 0; i < count; ++i) {
    GeometryPtr shape = Square(i, sr);
    std::string name = "Area " + std::to_string(i + 1);
    if (!CreateStudyArea(shape, dataManager, application, name, dataSet, task, features)) {
      std::fprintf(stderr, "bench_make_analysis: \"%s\" could not be stored (see the log of the analysis)\n", name.c_str());
      return 1;
    }
  }
  SaveAnalysis(*analysis);
  return 0;
}

} // namespace
} // namespace tov

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_make_analysis LOCATION COUNT [DATA_ROOT]\n");
    return 2;
  }
  try {
    return tov::Make(argv[1], std::stol(argv[2]), argc > 3 ? argv[3] : std::string());
  } catch (const tov::HostError& e) {
    std::fprintf(stderr, "bench_make_analysis: %s\n", e.Description().c_str());
    return 1;
  }
}
