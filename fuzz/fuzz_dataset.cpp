// Data set descriptions: a dataset.json is either refused with a HostError
// and a message, or loaded; a loaded description, written out again from
// what was read, loads to the same layers (with their scale ranges and
// labels), initial extent, attribution, configuration and tasks.
#include "FuzzSupport.h"

#include "host/framework/JsonDataset.h"
#include "platform/framework/ConfigNode.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/framework/TaskLayer.h"

#include <nlohmann/json.hpp>

#include <cmath>

using namespace tov;
using namespace tov::fuzz;
using nlohmann::json;

namespace {

json Properties(PropertyList& list) {
  json j = json::object();
  for (long i = 0; i < list.Count(); ++i) {
    const std::string name = list.NameAt(i);
    j[name] = list.GetValue(name);
  }
  return j;
}

json WriteConfig(ConfigNode& node, bool top) {
  json j = {{"properties", Properties(*node.Properties())}, {"children", json::array()}};
  if (!top) j["name"] = node.Name();
  for (long i = 0; i < node.ChildCount(); ++i) {
    auto child = node.Child(i);
    Require(child && node.ChildByName(child->Name()), "a configuration child not found by its name");
    j["children"].push_back(WriteConfig(*child, false));
  }
  return j;
}

json WriteTask(TaskDescriptor& task) {
  json j = {{"name", task.Name()}, {"caption", task.Caption()}, {"properties", Properties(task)},
            {"layers", json::array()}, {"children", json::array()}};
  for (long i = 0; i < task.LayerCount(); ++i) {
    auto layer = task.Layer(i);
    Require(layer && task.LayerByName(layer->Name()), "a task layer not found by its name");
    j["layers"].push_back({{"name", layer->Name()}, {"properties", Properties(*layer)}});
  }
  for (long i = 0; i < task.ChildCount(); ++i) j["children"].push_back(WriteTask(*task.Child(i)));
  return j;
}

// The description as read, in the file's own form.
json Write(JsonDataset& ds) {
  Require(!ds.Name().empty(), "a data set without a name");
  Require(ds.DataSetPath() == ds.Name(), "a data set's path is not its name");
  json j = {{"name", ds.Name()}, {"layers", json::array()}, {"tasks", json::array()}};
  if (!ds.GeoPackagePath().empty()) {
    Require(ds.GeoPackagePath()[0] == '/', "a GeoPackage path not made absolute");
    j["geopackage"] = ds.GeoPackagePath();
  }
  if (!ds.PostgisConnection().empty()) {
    Require(ds.PostgisConnection().rfind("PG:", 0) == 0, "a connection string not beginning with PG:");
    j["postgis"] = ds.PostgisConnection();
  }
  Require(ds.LayerCount() == static_cast<long>(ds.Layers().size()), "the layers counted two ways differ");
  for (long i = 0; i < ds.LayerCount(); ++i) {
    auto layer = ds.Layers()[static_cast<size_t>(i)];
    Require(ds.Layer(i) == layer && ds.LayerByName(layer->Name()) == layer, "a layer not found by its name");
    Require(!layer->SourceName().empty() || layer->Name().empty(), "a layer without a source name");
    const LayerDisplay& d = layer->Display();
    for (double scale : {d.minimumScale, d.maximumScale, d.labelMinimumScale, d.labelMaximumScale})
      Require(scale >= 0 && std::isfinite(scale), "a layer scale that is negative or not finite");
    Require(!d.labelField.empty() || (d.labelMinimumScale == 0 && d.labelMaximumScale == 0),
            "label scales without a label field");
    j["layers"].push_back({{"name", layer->Name()},
                           {"sourceName", layer->SourceName()},
                           {"mapLayerName", layer->MapLayerName()},
                           {"reference", layer->IsReference()},
                           {"minimumScale", d.minimumScale},
                           {"maximumScale", d.maximumScale},
                           {"labelField", d.labelField},
                           {"labelMinimumScale", d.labelMinimumScale},
                           {"labelMaximumScale", d.labelMaximumScale}});
  }
  if (const auto& e = ds.InitialExtent()) {
    Require((*e)[0] < (*e)[2] && (*e)[1] < (*e)[3], "an initial extent with its corners swapped");
    Require((*e)[0] >= -180 && (*e)[2] <= 180 && (*e)[1] >= -90 && (*e)[3] <= 90,
            "an initial extent beyond longitude and latitude");
    j["initialExtent"] = {(*e)[0], (*e)[1], (*e)[2], (*e)[3]};
  }
  j["attribution"] = ds.Attribution();
  for (long i : {-1L, ds.LayerCount()}) {
    try {
      ds.Layer(i);
      Fail("a layer number out of range gave a layer");
    } catch (const HostError& e) {
      CheckRefusal(e, "Layer");
    }
  }
  for (long i = 0; i < ds.TaskCount(); ++i) {
    auto task = ds.Task(i);
    Require(task && ds.TaskByName(task->Name()), "a task not found by its name");
    j["tasks"].push_back(WriteTask(*task));
  }
  Require(ds.Configuration() != nullptr, "a data set without a configuration");
  j["configuration"] = WriteConfig(*ds.Configuration(), true);
  return j;
}

std::shared_ptr<JsonDataset> Load(const std::filesystem::path& folder, const std::string& text) {
  std::filesystem::create_directories(folder);
  WriteFile(folder / "dataset.json", text);
  return JsonDataset::Load(folder.string());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::shared_ptr<JsonDataset> ds;
  try {
    ds = Load(ScratchFolder() / "input", Text(data, size));
  } catch (const HostError& e) {
    CheckRefusal(e, "Load");
    return 0;
  }
  Require(ds != nullptr, "a data set loaded as nothing");
  const json first = Write(*ds);
  std::shared_ptr<JsonDataset> again;
  try {
    again = Load(ScratchFolder() / "again", first.dump());
  } catch (const HostError& e) {
    Fail("a description written back is refused: " + e.Description() + "\n" + first.dump());
  }
  const json second = Write(*again);
  Require(first == second, "a description written back loads differently:\n" + first.dump() + "\n---\n" +
                               second.dump());
  return 0;
}
