#pragma once
#include "support/ComponentTestSupport.h"
#include "support/ProgramRuns.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace tov::test {

// The map document as saved.
nlohmann::json ReadDocument(const TestWorld& world);

// Names of the feature layers of the saved document, at any depth.
std::vector<std::string> DocumentLayerNames(const TestWorld& world);

// What disagrees between the catalogue, the StudyAreas folders, the layer
// files and datasets and the document: one line each, none when consistent.
// Opens the analysis in this process.
std::vector<std::string> Inconsistencies(const TestWorld& world);

} // namespace tov::test
