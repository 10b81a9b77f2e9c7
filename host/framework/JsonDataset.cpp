#include "host/framework/JsonDataset.h"

#include "host/framework/JsonConfigNode.h"
#include "host/framework/JsonTaskDescriptor.h"
#include "host/framework/JsonTaskLayer.h"
#include "host/gis/JsonErrors.h"
#include "platform/runtime/HostError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

namespace tov {
namespace {
using json = nlohmann::json;

const char kSource[] = "HostDataset";

HostError Invalid(const std::string& file, const std::string& what) {
  return HostError(err::InvalidCall, kSource, "The data set description " + file + " is not valid: " + what + ".");
}

[[noreturn]] void Bad(const std::string& file, const std::string& what) { throw Invalid(file, what); }

std::string Text(const json& j, const char* key, const std::string& file, const std::string& where,
                 bool required) {
  auto it = j.find(key);
  if (it == j.end() || it->is_null()) {
    if (required) Bad(file, where + " has no \"" + key + "\"");
    return std::string();
  }
  if (!it->is_string()) Bad(file, where + ": \"" + key + "\" must be a text");
  return it->get<std::string>();
}

const json* Array(const json& j, const char* key, const std::string& file, const std::string& where) {
  auto it = j.find(key);
  if (it == j.end() || it->is_null()) return nullptr;
  if (!it->is_array()) Bad(file, where + ": \"" + key + "\" must be a list");
  return &*it;
}

// Property values are texts; numbers and Booleans written by hand are taken
// in their text form rather than refused.
void ReadProperties(const json& j, PropertyList& list, const std::string& file, const std::string& where) {
  auto it = j.find("properties");
  if (it == j.end() || it->is_null()) return;
  if (!it->is_object()) Bad(file, where + ": \"properties\" must be an object of texts");
  for (auto p = it->begin(); p != it->end(); ++p) {
    if (p->is_string()) list.SetValue(p.key(), p->get<std::string>());
    else if (p->is_boolean()) list.SetValue(p.key(), p->get<bool>() ? "True" : "False");
    else if (p->is_number()) list.SetValue(p.key(), p->dump());
    else Bad(file, where + ": the property \"" + p.key() + "\" must be a text");
  }
}

// Deeper than any description is written: refused before it exhausts the stack.
constexpr int kMaxDepth = 64;

ConfigNodePtr ReadConfigNode(const json& j, const std::string& name, const std::string& file,
                             const std::string& where, int depth = 0) {
  if (!j.is_object()) Bad(file, where + " must be an object");
  if (depth > kMaxDepth) Bad(file, "the configuration is nested more than " + std::to_string(kMaxDepth) + " deep");
  auto node = std::make_shared<JsonConfigNode>(name);
  ReadProperties(j, *node->Properties(), file, where);
  if (const json* children = Array(j, "children", file, where))
    for (const auto& c : *children) {
      std::string childName = Text(c, "name", file, where + " > child", true);
      node->AddChild(ReadConfigNode(c, childName, file, where + " > " + childName, depth + 1));
    }
  return node;
}

TaskDescriptorPtr ReadTask(const json& j, const std::string& file, const std::string& where, int depth = 0) {
  if (!j.is_object()) Bad(file, where + " must be an object");
  if (depth > kMaxDepth) Bad(file, "the tasks are nested more than " + std::to_string(kMaxDepth) + " deep");
  std::string name = Text(j, "name", file, where, true);
  std::string here = "task \"" + name + "\"";
  auto task = std::make_shared<JsonTaskDescriptor>(name, Text(j, "caption", file, here, false));
  ReadProperties(j, *task, file, here);
  if (const json* layers = Array(j, "layers", file, here))
    for (const auto& l : *layers) {
      if (!l.is_object()) Bad(file, here + ": every layer must be an object");
      auto layer = std::make_shared<JsonTaskLayer>(Text(l, "name", file, here + " layer", true));
      ReadProperties(l, *layer, file, here + " layer \"" + layer->Name() + "\"");
      task->AddLayer(layer);
    }
  if (const json* children = Array(j, "children", file, here))
    for (const auto& c : *children) task->AddChild(ReadTask(c, file, here + " > child", depth + 1));
  return task;
}

// A map scale denominator: a number, 0 for no limit.
double Scale(const json& j, const char* key, const std::string& file, const std::string& where) {
  auto it = j.find(key);
  if (it == j.end() || it->is_null()) return 0;
  if (!it->is_number() || !std::isfinite(it->get<double>()) || it->get<double>() < 0)
    Bad(file, where + ": \"" + key + "\" must be a scale denominator (a number, 0 for no limit)");
  return it->get<double>();
}

// The minimum scale is the smaller one shown (the larger denominator).
void CheckRange(double minimum, double maximum, const char* minKey, const char* maxKey, const std::string& file,
                const std::string& where) {
  if (minimum > 0 && maximum > 0 && !(maximum < minimum))
    Bad(file, where + ": \"" + maxKey + "\" must be below \"" + minKey + "\", or the layer never shows");
}

LayerDisplay ReadDisplay(const json& l, const std::string& file, const std::string& where) {
  LayerDisplay d;
  d.minimumScale = Scale(l, "minimumScale", file, where);
  d.maximumScale = Scale(l, "maximumScale", file, where);
  CheckRange(d.minimumScale, d.maximumScale, "minimumScale", "maximumScale", file, where);
  d.labelField = Text(l, "labelField", file, where, false);
  d.labelMinimumScale = Scale(l, "labelMinimumScale", file, where);
  d.labelMaximumScale = Scale(l, "labelMaximumScale", file, where);
  CheckRange(d.labelMinimumScale, d.labelMaximumScale, "labelMinimumScale", "labelMaximumScale", file, where);
  if (d.labelField.empty() && (d.labelMinimumScale > 0 || d.labelMaximumScale > 0))
    Bad(file, where + ": label scales are given without a \"labelField\"");
  if (d.labelField.find_first_of("[]") != std::string::npos)
    Bad(file, where + ": \"labelField\" must be a field name, without brackets");
  return d;
}

// [WEST, SOUTH, EAST, NORTH] in degrees.
std::optional<std::array<double, 4>> ReadInitialExtent(const json& j, const std::string& file) {
  auto it = j.find("initialExtent");
  if (it == j.end() || it->is_null()) return std::nullopt;
  const std::string form = "\"initialExtent\" must be [WEST, SOUTH, EAST, NORTH] in degrees of longitude and latitude";
  if (!it->is_array() || it->size() != 4) Bad(file, form);
  std::array<double, 4> e{};
  for (size_t i = 0; i < 4; ++i) {
    const json& v = (*it)[i];
    if (!v.is_number() || !std::isfinite(v.get<double>())) Bad(file, form);
    e[i] = v.get<double>();
  }
  if (e[0] < -180 || e[2] > 180 || e[1] < -90 || e[3] > 90)
    Bad(file, "\"initialExtent\" lies outside longitudes -180 to 180 and latitudes -90 to 90");
  if (!(e[0] < e[2]) || !(e[1] < e[3]))
    Bad(file, "\"initialExtent\" needs WEST below EAST and SOUTH below NORTH");
  return e;
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
} // namespace

std::shared_ptr<JsonDataset> JsonDataset::Load(const std::string& nativeFolder) {
  std::string file = nativeFolder + "/dataset.json";
  std::ifstream in(file);
  if (!in)
    throw HostError(err::FileNotFound, kSource, "The data set description " + file + " cannot be read.");
  json j;
  try {
    in >> j;
  } catch (...) {
    ThrowJsonError(std::current_exception(),
                   [&](const std::string& reason) { return Invalid(file, "it is not JSON (" + reason + ")"); });
  }
  if (!j.is_object()) Bad(file, "the top level must be an object");

  auto ds = std::make_shared<JsonDataset>();
  ds->m_folder = nativeFolder;
  ds->m_name = Text(j, "name", file, "the data set", true);
  if (ds->m_name.empty()) Bad(file, "the data set's \"name\" is empty");
  std::string gpkg = Text(j, "geopackage", file, "the data set", false);
  ds->m_geopackage = gpkg.empty() ? std::string() : (gpkg[0] == '/' ? gpkg : nativeFolder + "/" + gpkg);
  ds->m_postgis = Text(j, "postgis", file, "the data set", false);
  if (!ds->m_postgis.empty() && ds->m_postgis.compare(0, 3, "PG:") != 0)
    Bad(file, "\"postgis\" must be a connection string beginning with \"PG:\" (\"PG:dbname=... host=... schemas=...\")");
  if (!ds->m_postgis.empty() && !ds->m_geopackage.empty())
    Bad(file, "a data set has its layers either in a \"geopackage\" or in \"postgis\", not both");

  if (const json* layers = Array(j, "layers", file, "the data set"))
    for (const auto& l : *layers) {
      if (!l.is_object()) Bad(file, "every layer must be an object");
      std::string name = Text(l, "name", file, "a layer", true);
      std::string where = "layer \"" + name + "\"";
      std::string source = Text(l, "sourceName", file, where, false);
      std::string mapName = Text(l, "mapLayerName", file, where, false);
      bool reference = false;
      if (auto r = l.find("reference"); r != l.end() && !r->is_null()) {
        if (!r->is_boolean()) Bad(file, where + ": \"reference\" must be true or false");
        reference = r->get<bool>();
      }
      if (ds->LayerByName(name)) Bad(file, "the layer \"" + name + "\" is listed twice");
      ds->m_layers.push_back(std::make_shared<JsonDataSetLayer>(name, source.empty() ? name : source,
                                                                mapName.empty() ? name : mapName, reference,
                                                                ReadDisplay(l, file, where)));
    }

  ds->m_initialExtent = ReadInitialExtent(j, file);
  ds->m_attribution = Text(j, "attribution", file, "the data set", false);
  if (auto d = j.find("default"); d != j.end() && !d->is_null()) {
    if (!d->is_boolean()) Bad(file, "\"default\" must be true or false");
    ds->m_default = d->get<bool>();
  }

  auto config = j.find("configuration");
  ds->m_configuration = (config == j.end() || config->is_null())
                            ? std::make_shared<JsonConfigNode>(std::string())
                            : ReadConfigNode(*config, std::string(), file, "the configuration");

  if (const json* tasks = Array(j, "tasks", file, "the data set"))
    for (const auto& t : *tasks) ds->m_tasks.push_back(ReadTask(t, file, "a task"));

  if (auto symbols = j.find("referenceSymbols"); symbols != j.end() && !symbols->is_null()) {
    if (!symbols->is_object()) Bad(file, "\"referenceSymbols\" must be an object");
    for (auto s = symbols->begin(); s != symbols->end(); ++s) {
      auto list = std::make_shared<SimplePropertyList>();
      ReadProperties(json{{"properties", *s}}, *list, file, "reference symbols of \"" + s.key() + "\"");
      SymbolKeys keys;
      for (long i = 0; i < list->Count(); ++i) keys[list->NameAt(i)] = list->GetValue(list->NameAt(i));
      ds->m_referenceSymbols[s.key()] = keys;
    }
  }
  return ds;
}

std::vector<std::shared_ptr<JsonDataset>> JsonDataset::LoadAll(const std::string& nativeDataRoot) {
  std::vector<std::string> folders;
  if (DIR* dir = opendir(nativeDataRoot.c_str())) {
    while (dirent* e = readdir(dir)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      std::string folder = nativeDataRoot + "/" + name;
      if (IsFile(folder + "/dataset.json")) folders.push_back(folder);
    }
    closedir(dir);
  }
  std::sort(folders.begin(), folders.end());
  std::vector<std::shared_ptr<JsonDataset>> all;
  for (const auto& folder : folders) {
    auto ds = Load(folder);
    for (const auto& other : all)
      if (other->Name() == ds->Name())
        throw HostError(err::DuplicateKey, kSource,
                        "Two data sets are named \"" + ds->Name() + "\" (" + other->Folder() + " and " + folder +
                            "). Give each data set its own name.");
    all.push_back(ds);
  }
  return all;
}

std::string JsonDataset::DataLocation() const { return m_postgis.empty() ? m_geopackage : m_postgis; }

TaskDescriptorPtr JsonDataset::Task(long index) {
  if (index < 0 || index >= TaskCount())
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + m_name + "\" has no task number " + std::to_string(index) + ".");
  return m_tasks[static_cast<size_t>(index)];
}

TaskDescriptorPtr JsonDataset::TaskByName(const std::string& name) {
  for (const auto& t : m_tasks)
    if (t->Name() == name) return t;
  return nullptr;
}

DataSetLayerPtr JsonDataset::Layer(long index) {
  if (index < 0 || index >= LayerCount())
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + m_name + "\" has no layer number " + std::to_string(index) + ".");
  return m_layers[static_cast<size_t>(index)];
}

DataSetLayerPtr JsonDataset::LayerByName(const std::string& name) {
  for (const auto& l : m_layers)
    if (l->Name() == name) return l;
  return nullptr;
}

JsonDataset::SymbolKeys JsonDataset::ReferenceSymbols(const std::string& layerName) const {
  auto it = m_referenceSymbols.find(layerName);
  return it == m_referenceSymbols.end() ? SymbolKeys() : it->second;
}

std::shared_ptr<JsonDataSetLayer> JsonDataset::FindSource(const std::string& sourceOrName) const {
  for (const auto& l : m_layers)
    if (l->SourceName() == sourceOrName) return l;
  for (const auto& l : m_layers)
    if (l->Name() == sourceOrName) return l;
  return nullptr;
}

} // namespace tov
