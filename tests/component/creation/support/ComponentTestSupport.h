#pragma once
#include "GisBuilders.h"
#include "TempFolder.h"
#include "host/forms/ScriptedPresenter.h"
#include "host/framework/Analysis.h"

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

  const std::string& Root() const { return m_folder.Path(); } // native
  std::string DataRoot() const { return Root() + "/data"; }    // native
  std::string AnalysisFolder() const { return Root() + "/analysis"; }
  // Opens (or creates) the analysis in that folder on the test data set.
  AnalysisPtr Open() const;

private:
  tov::testing::TempFolder m_folder;
};

// Installs a scripted presenter with the turns given (JSON) and returns it.
ScriptedPresenterPtr UseScript(const std::string& json);

// The turn that types a name on the name page and presses Next.
std::string NameTurn(const std::string& name);

std::string ReadTextFile(const std::string& nativePath);

} // namespace tov::test
