#pragma once
#include "host/forms/ScriptedPresenter.h"
#include "host/framework/Analysis.h"
#include "platform/gis/Fields.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SpatialReference.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tov::test {

// A temporary folder holding a data root with one small data set "Test"
// (reference layer "Regions" around New York, the current-extent method) and
// room for analyses. Removed afterwards.
class TestWorld {
public:
  // projection: the "Projection.ResultantDefault" node's properties as JSON
  // ("" leaves the "Projections" node out).
  explicit TestWorld(const std::string& projection = R"({"Type": "Projected", "ID": "5070"})");
  ~TestWorld();
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  const std::string& Root() const { return m_root; }          // native
  std::string DataRoot() const { return m_root + "/data"; }   // native
  std::string AnalysisFolder(const std::string& name = "analysis") const { return m_root + "/" + name; }
  // Opens (or creates) an analysis in the folder on the test data set.
  AnalysisPtr Open(const std::string& name = "analysis") const;

private:
  std::string m_root;
};

// Installs a scripted presenter with the turns given (JSON) and returns it.
ScriptedPresenterPtr UseScript(const std::string& json);

// The turn that types a name on the name page and presses Next.
std::string NameTurn(const std::string& name);

// A rectangle as a polygon in the given coordinate system.
PolygonPtr Rectangle(double xmin, double ymin, double xmax, double ymax, const SpatialReferencePtr& sr);
SpatialReferencePtr Geographic(long code);

// Fields of a polygon class: "OID", "Shape" in `sr` and a text field "NAME".
FieldsPtr RegionFields(const SpatialReferencePtr& sr);

std::string ReadTextFile(const std::string& nativePath);

} // namespace tov::test
