#include "host/framework/SharedAnalysis.h"

#include "host/common/TextDigest.h"
#include "host/common/UserFolders.h"
#include "host/framework/AnalysisDatabase.h"
#include "host/framework/SharedAnalysisParts.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"
#include "platform/runtime/TextReplace.h"

#include <cpl_conv.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tov {

namespace shared {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush())
    throw HostError(err::PathNotFound, kSource, "The working copy file " + path.string() + " cannot be written.");
}

std::string FolderSafeName(const std::string& schema) {
  std::string safe;
  for (char c : schema) safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return safe;
}

fs::path WorkRoot() { return fs::path(UserCacheFolder()) / "shared"; }

void RemoveAbandonedCopies(const fs::path& root) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    const std::string name = entry.path().filename().string();
    const size_t dot = name.rfind(".w");
    if (dot == std::string::npos) continue;
    const size_t pidAt = name.rfind('.', dot - 1);
    if (pidAt == std::string::npos) continue;
    const long pid = std::strtol(name.c_str() + pidAt + 1, nullptr, 10);
    if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
      std::error_code ignored;
      fs::remove_all(entry.path(), ignored);
    }
  }
  // Cache entries a killed process was filling ("new.<pid>.<entry>").
  for (const auto& analysis : fs::directory_iterator(root / "cache", ec))
    for (const auto& entry : fs::directory_iterator(analysis.path(), ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("new.", 0) != 0) continue;
      const long pid = std::strtol(name.c_str() + 4, nullptr, 10);
      if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
        std::error_code ignored;
        fs::remove_all(entry.path(), ignored);
      }
    }
}

std::string LayerHash(const std::string& path, const std::string& layerName, bool geopackage) {
  // The hash takes no coordinate system: a shapefile's is not matched
  // against the EPSG database (thousands of its queries) when its shapes
  // are read.
  CPLConfigOptionSetter noMatching("USE_OSR_FIND_MATCHES", "NO", false);
  const char* drivers[] = {geopackage ? "GPKG" : "ESRI Shapefile", nullptr};
  GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
  if (!ds) return "unreadable";
  OGRLayer* layer = ds->GetLayerByName(layerName.c_str());
  if (!layer) return "missing";
  uint64_t h = 1469598103934665603ULL;
  auto mix = [&h](const void* data, size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ULL;
  };
  auto mixText = [&mix](const std::string& text) { mix(text.data(), text.size() + 1); };
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    mixText(defn->GetFieldDefn(i)->GetNameRef());
    mixText(std::to_string(defn->GetFieldDefn(i)->GetType()));
  }
  layer->ResetReading();
  size_t count = 0;
  for (auto& feature : *layer) {
    ++count;
    mixText(std::to_string(feature->GetFID()));
    for (int i = 0; i < defn->GetFieldCount(); ++i)
      mixText(feature->IsFieldSetAndNotNull(i) ? feature->GetFieldAsString(i) : "\x01null");
    if (OGRGeometry* g = feature->GetGeometryRef()) {
      std::vector<unsigned char> wkb(static_cast<size_t>(g->WkbSize()));
      g->exportToWkb(wkbNDR, wkb.data(), wkbVariantIso);
      mix(wkb.data(), wkb.size());
    }
  }
  bool indexed = false;
  if (geopackage) {
    const std::string sql = "SELECT HasSpatialIndex('" + ReplaceAll(layerName, "'", "''") + "', '" +
                            ReplaceAll(layer->GetGeometryColumn(), "'", "''") + "')";
    if (OGRLayer* r = ds->ExecuteSQL(sql.c_str(), nullptr, "SQLITE")) {
      if (auto f = std::unique_ptr<OGRFeature>(r->GetNextFeature())) indexed = f->GetFieldAsInteger(0) != 0;
      ds->ReleaseResultSet(r);
    }
  } else {
    std::error_code ec;
    indexed = fs::exists(fs::path(path) / (layerName + ".qix"), ec);
  }
  std::ostringstream out;
  out << std::hex << h << "-" << std::dec << count << (indexed ? "-indexed" : "");
  return out.str();
}

namespace {
std::string StampOf(const struct stat& st) {
  // Written by hand: this runs for every file of every study area.
  std::string text;
  text.reserve(48);
  const auto put = [&text](long long value, char after) {
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    if (after) text += after;
  };
  put(static_cast<long long>(st.st_size), ':');
  put(static_cast<long long>(st.st_mtim.tv_sec), '.');
  put(static_cast<long long>(st.st_mtim.tv_nsec), 0);
  return text;
}

std::vector<std::pair<std::string, std::string>> FolderStamps(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> stamps;
  // Names relative to the open folder: the working copy's paths are long,
  // and this runs for every study area at the end of every command.
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return stamps;
  const int fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::fstatat(fd, entry->d_name, &st, 0) != 0) continue;
    stamps.emplace_back(name, StampOf(st));
  }
  ::closedir(dir);
  std::sort(stamps.begin(), stamps.end());
  return stamps;
}
} // namespace

std::string FileStamp(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return StampOf(st);
}

bool Indexed(const std::string& hash) { return hash.size() > 8 && hash.compare(hash.size() - 8, 8, "-indexed") == 0; }

} // namespace shared

using namespace shared;

SharedAnalysis::State SharedAnalysis::ReadLocal(const State* reference,
                                                const std::map<int64_t, std::map<std::string, std::string>>* known,
                                                const std::map<int64_t, RecordState>* kept) {
  State state;
  AnalysisDatabase local(m_folder + "/analysis.sqlite");
  {
    AnalysisDatabase::Statement s(local, "SELECT id, name, base_dataset, feature_class FROM study_areas");
    while (s.Step()) {
      RecordState& r = state.records[s.Int(0)];
      r.name = s.Text(1);
      r.baseDataset = s.Text(2);
      r.featureClass = s.Text(3);
    }
  }
  {
    AnalysisDatabase::Statement s(local, "SELECT record_id, key, value FROM record_properties");
    while (s.Step()) state.records[s.Int(0)].properties[s.Text(1)] = s.Text(2);
  }
  {
    AnalysisDatabase::Statement s(local, "SELECT facet, key, value FROM settings");
    while (s.Step()) state.settings[{s.Text(0), s.Text(1)}] = s.Text(2);
  }
  // Paths and names are put together as text: the library's path type
  // costs more than the files' stamps over a thousand study areas.
  const std::string areas = m_folder + "/StudyAreas/";
  // A name's stem, and whether its extension is `lower` in any case, as the
  // library splits them; looked at without copies, for every file of every
  // study area at both ends of a command.
  auto stemOf = [](const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string_view(name) : std::string_view(name).substr(0, dot);
  };
  auto hasExtension = [](const std::string& name, std::string_view lower) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return lower.empty();
    const std::string_view extension = std::string_view(name).substr(dot);
    // Beyond ASCII, as the text's case rules lower it.
    if (std::any_of(extension.begin(), extension.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
      return LowerCase(std::string(extension)) == lower;
    return extension.size() == lower.size() &&
           std::equal(extension.begin(), extension.end(), lower.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + ('a' - 'A') : a) == b; });
  };
  for (auto& item : state.records) {
    // Named, not bound: a lambda below needs them, and C++17 does not let a
    // lambda capture a structured binding.
    const auto id = item.first;
    auto& record = item.second;
    if (kept)
      if (auto k = kept->find(id); k != kept->end()) {
        record.files = k->second.files;
        record.datasets = k->second.datasets;
        record.stamps = k->second.stamps;
        continue;
      }
    const std::string folder = areas + std::to_string(id);
    const std::vector<std::pair<std::string, std::string>> entries = FolderStamps(folder);
    // A dataset whose files are as they were keeps the hash it had.
    auto stamp = [&](const std::string& prefix, bool stemOnly) {
      std::string text;
      for (const auto& [name, fileStamp] : entries) {
        if (stemOnly ? stemOf(name) != prefix || hasExtension(name, ".lyr") : name.rfind(prefix, 0) != 0) continue;
        text.append(name).append(1, ':').append(fileStamp).append(1, ';');
      }
      return text;
    };
    auto hashOf = [&](const std::string& key, const std::string& stampText, const std::function<std::string()>& compute) {
      record.stamps[key] = stampText;
      if (known) {
        auto r = known->find(id);
        if (r != known->end())
          if (auto k = r->second.find(key); k != r->second.end()) return k->second;
      }
      if (reference) {
        auto r = reference->records.find(id);
        if (r != reference->records.end()) {
          auto s = r->second.stamps.find(key);
          auto h = r->second.datasets.find(key);
          if (s != r->second.stamps.end() && h != r->second.datasets.end() && s->second == stampText) return h->second;
        }
      }
      return compute();
    };
    for (const auto& [name, fileStamp] : entries) {
      if (hasExtension(name, ".lyr")) {
        // A layer file whose stamp is the same is read from the reference.
        const std::string key = "file:" + name;
        record.stamps[key] = fileStamp;
        const std::string* same = nullptr;
        if (reference)
          if (auto r = reference->records.find(id); r != reference->records.end())
            if (auto s = r->second.stamps.find(key); s != r->second.stamps.end() && s->second == fileStamp)
              if (auto f = r->second.files.find(name); f != r->second.files.end()) same = &f->second;
        record.files[name] = same ? *same : TextDigest(ReadText(folder + "/" + name));
      } else if (hasExtension(name, ".shp")) {
        const std::string layer(stemOf(name));
        const std::string key = "|" + layer;
        record.datasets[key] = hashOf(key, stamp(layer, true), [&] { return LayerHash(folder, layer, false); });
      } else if (hasExtension(name, ".gpkg")) {
        const std::string path = folder + "/" + name;
        const char* drivers[] = {"GPKG", nullptr};
        GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
        if (!ds) continue;
        const std::string stampText = stamp(name, false);
        for (auto* layer : ds->GetLayers()) {
          const std::string layerName = layer->GetName(), key = name + "|" + layerName;
          record.datasets[key] = hashOf(key, stampText, [&] { return LayerHash(path, layerName, true); });
        }
      }
    }
  }
  return state;
}

} // namespace tov
