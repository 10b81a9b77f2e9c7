#pragma once
// The selected shapes tests' fixture: squares, sites and roads on the map to
// select, a progress runner that records each step, and polygons that fail.
#include "WorldTest.h"

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
  // After each DoStep: its result and the area of the function's polygon
  // (0 without one).
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

// A polygon that passes every call to a real one but can refuse to be
// projected or united, as odd shapes sometimes are. Its copies refuse too.
class FailingPolygon : public Polygon {
public:
  enum class Fails { Project, Union };
  FailingPolygon(PolygonPtr inner, Fails fails) : m_inner(std::move(inner)), m_fails(fails) {}

  long GeometryType() const override { return m_inner->GeometryType(); }
  bool IsEmpty() const override { return m_inner->IsEmpty(); }
  void SetEmpty() override { m_inner->SetEmpty(); }
  EnvelopePtr Envelope() const override { return m_inner->Envelope(); }
  SpatialReferencePtr SpatialReference() const override { return m_inner->SpatialReference(); }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_inner->SetSpatialReference(sr); }
  void Project(const SpatialReferencePtr& sr) override;
  GeometryPtr Copy() const override;
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
  GeometryPtr Union(const GeometryPtr& other) const override;
  void ConstructUnion(const GeometryEnumeratorPtr& geometries) override { m_inner->ConstructUnion(geometries); }

private:
  PolygonPtr m_inner;
  Fails m_fails;
};

// An analysis on the test data set (analysis coordinate system: geographic
// 4269, so that areas are in square degrees) that offers the selected shapes
// method, with three layers in the focus map: "Squares" (30 squares of 0.1
// degree, apart from each other), "Sites" (points) and "Roads" (lines).
class SelShapesTest : public WorldTest {
protected:
  SelShapesTest();
  void SetUp() override;

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

  FeatureLayerPtr squares, sites, roads;
};

} // namespace tov::test
