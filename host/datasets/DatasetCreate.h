#pragma once
#include "host/datasets/CodeRules.h"
#include "host/datasets/DatasetCreateOptions.h"
#include "host/datasets/DatasetGazetteer.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// What a new data set holds, for the user.
struct DatasetCreateReport {
  struct Layer {
    std::string title, sourceName, role; // role: "regions", "codes" or "context"
    long features = 0, repaired = 0, dropped = 0;
  };
  std::string name, folder; // folder: native
  std::vector<Layer> layers;
  std::string nameField, listField;
  bool nameFieldInferred = false;
  std::string system; // the analysis system, described
  std::vector<std::string> methods; // command-line words
  std::optional<CodeRules> codeRules;
  GazetteerCounts gazetteer;
  std::vector<std::string> notes;
};

// Makes the data set <dataRoot>/<name>/ from the layers of one source: a
// GeoPackage of copies of the layers named (each with a spatial index, its
// invalid shapes repaired and counted, in its own coordinate system), a
// dataset.json that offers the seven methods (six without codes) in an
// analysis system of equal area, and the ring method's gazetteer. All of it
// is written in a hidden folder beside it and renamed into place at the end:
// a failure leaves the data root as it was. Bad input raises HostError with
// a message that names the file, layer or field and what to do. say, when
// given, hears of each step.
DatasetCreateReport CreateDataset(const DatasetCreateOptions& options,
                                  const std::function<void(const std::string&)>& say = nullptr);

// Where the GeoNames places of the sample data are kept under a data root.
std::string GeoNamesPlacesFile(const std::string& nativeDataRoot);

} // namespace tov
