#pragma once
#include "support/ComponentTestSupport.h"
#include "support/HostWrappers.h"

#include "host/session/HostTaskRun.h"

#include "platform/framework/ProgressRunner.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/Map.h"
#include "platform/gis/Polygon.h"

#include <string>
#include <vector>

namespace tov::test {

// What a recording progress runner saw of one run.
struct StepLog {
  bool started = false;
  // After each DoStep: its result and the area the function holds: its
  // polygon's (0 without one) and, for the selected shapes method, that of
  // each shape gathered and not yet united.
  std::vector<bool> results;
  std::vector<double> areas;
};

// A progress runner that drives the function as the host's does (Start, then
// DoStep until False) and records every step. It gives up after 1000 steps
// so that a function that never ends fails the test instead of hanging it.
class RecordingProgressRunner : public ProgressRunner {
public:
  explicit RecordingProgressRunner(StepLog* log) : m_log(log) {}
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animationPath, int64_t ownerWindow) override;

private:
  StepLog* m_log;
};

// A polygon that passes every call to a real one; a test double derives
// from it and overrides the call it wants to behave otherwise.
class DelegatingPolygon : public Polygon {
public:
  explicit DelegatingPolygon(PolygonPtr inner) : m_inner(std::move(inner)) {}

  long GeometryType() const override { return m_inner->GeometryType(); }
  bool IsEmpty() const override { return m_inner->IsEmpty(); }
  void SetEmpty() override { m_inner->SetEmpty(); }
  EnvelopePtr Envelope() const override { return m_inner->Envelope(); }
  SpatialReferencePtr SpatialReference() const override { return m_inner->SpatialReference(); }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_inner->SetSpatialReference(sr); }
  void Project(const SpatialReferencePtr& sr) override { m_inner->Project(sr); }
  GeometryPtr Copy() const override { return m_inner->Copy(); }
  void AddPoint(const PointPtr& point) override { m_inner->AddPoint(point); }
  void StartNewPart() override { m_inner->StartNewPart(); }
  long PartCount() const override { return m_inner->PartCount(); }
  long RingCount() const override { return m_inner->RingCount(); }
  long PointCount() const override { return m_inner->PointCount(); }
  PointPtr Point(long index) const override { return m_inner->Point(index); }
  double Area() const override { return m_inner->Area(); }
  bool IsClosed() const override { return m_inner->IsClosed(); }
  bool IsKnownSimple() const override { return m_inner->IsKnownSimple(); }
  void SetIsKnownSimple(bool value) override { m_inner->SetIsKnownSimple(value); }
  void Simplify() override { m_inner->Simplify(); }
  void Densify(double maxSegmentLength, double maxDeviation) override { m_inner->Densify(maxSegmentLength, maxDeviation); }
  void Generalize(double maxOffset) override { m_inner->Generalize(maxOffset); }
  GeometryPtr Union(const GeometryPtr& other) const override { return m_inner->Union(other); }
  void ConstructUnion(const GeometryEnumeratorPtr& geometries) override { m_inner->ConstructUnion(geometries); }

protected:
  PolygonPtr m_inner;
};

// A polygon that can refuse to be projected or united, as odd shapes
// sometimes are. Its copies refuse too; the host's union of many shapes
// refuses it as well, since it is none of the host's own.
class FailingPolygon : public DelegatingPolygon {
public:
  enum class Fails { Project, Union };
  FailingPolygon(PolygonPtr inner, Fails fails) : DelegatingPolygon(std::move(inner)), m_fails(fails) {}

  void Project(const SpatialReferencePtr& sr) override;
  GeometryPtr Copy() const override;
  GeometryPtr Union(const GeometryPtr& other) const override;

private:
  Fails m_fails;
};

// A graphic's polygon that notes in which step of a recorded run it was
// copied (the index into the log's results). Copies made before the run
// (the graphic element keeps one) note the same; one made in the run is a
// plain polygon.
class StepStampedPolygon : public DelegatingPolygon {
public:
  StepStampedPolygon(PolygonPtr inner, const StepLog* log, std::vector<size_t>* copiedIn)
      : DelegatingPolygon(std::move(inner)), m_log(log), m_copiedIn(copiedIn) {}
  GeometryPtr Copy() const override {
    if (!m_log->started) return std::make_shared<StepStampedPolygon>(As<Polygon>(m_inner->Copy()), m_log, m_copiedIn);
    m_copiedIn->push_back(m_log->results.size());
    return m_inner->Copy();
  }

private:
  const StepLog* m_log;
  std::vector<size_t>* m_copiedIn;
};

// An analysis on the test data set (analysis coordinate system: geographic
// 4269, so that areas are in square degrees) that offers the selected shapes
// method, with three layers in the focus map: "Squares" (30 squares of 0.1
// degree, apart from each other), "Sites" (points) and "Roads" (lines).
class SelShapesTest : public ::testing::Test {
protected:
  SelShapesTest();
  void SetUp() override;

  MapPtr FocusMap();
  // Selects the features of the layer whose object ids are 1 to count.
  void SelectFirst(const FeatureLayerPtr& layer, long count);
  // Adds a graphic with the geometry (and symbol) to the map and selects it.
  GraphicElementPtr AddSelectedGraphic(const GeometryPtr& geometry, const SymbolPtr& symbol = nullptr);
  // The stored shape of the study area when it is the current one, else no
  // object.
  GeometryPtr StoredShape(const std::string& name);
  // The summary page's Next, then the name page.
  static std::string Turns(const std::string& name);

  static constexpr double kSquareSize = 0.1;
  static constexpr double kSquareArea = kSquareSize * kSquareSize;

  TestWorld world;
  AnalysisPtr analysis;
  FeatureLayerPtr squares, sites, roads;
};

// The method run as the host runs it, with the recording progress runner.
class SelectedShapesRunTest : public SelShapesTest {
public:
  SelectedShapesRunTest();

protected:
  // Plays the turns (JSON) and fails the test on any script error.
  HostTaskRunResult Run(const std::string& script);

  StepLog steps;
  ClassOverride runner;
  ScriptedPresenterPtr presenter;
};

} // namespace tov::test
