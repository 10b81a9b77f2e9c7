#include "host/framework/SharedAnalysis.h"

#include "host/framework/SharedAnalysisParts.h"
#include "host/gis/DirectJson.h"
#include "host/gis/LayerJson.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

using namespace shared;

namespace {
constexpr char kMirrorState[] = "mirror.json";
// The saved state while a process works in the mirror.
constexpr char kHeldState[] = "mirror.json.held";
constexpr int kMirrorFormat = 2; // 2: layer files by digest
} // namespace

namespace shared {

bool SameContent(const SharedAnalysis::RecordState& a, const SharedAnalysis::RecordState& b) {
  return a.name == b.name && a.baseDataset == b.baseDataset && a.featureClass == b.featureClass &&
         a.properties == b.properties && a.files == b.files && a.datasets == b.datasets;
}

bool SameContent(const SharedAnalysis::State& a, const SharedAnalysis::State& b) {
  if (a.settings != b.settings || a.records.size() != b.records.size()) return false;
  for (const auto& [id, record] : a.records) {
    auto other = b.records.find(id);
    if (other == b.records.end() || !SameContent(record, other->second)) return false;
  }
  return true;
}

} // namespace shared

std::string SharedAnalysis::TakeMirror(const SharedLocation& location, int& lockFd) {
  const std::string name =
      FolderSafeName(location.schema) + "." + std::to_string(std::hash<std::string>()(location.conninfo + "|" + location.schema)) + ".m";
  const fs::path lock = WorkRoot() / (name + ".lock");
  const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return {};
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return {};
  }
  lockFd = fd;
  return (WorkRoot() / name).string();
}

bool SharedAnalysis::ReadMirrorState(State& state, std::map<int64_t, std::string>& pulled, std::string& fingerprint) {
  const fs::path path = fs::path(m_folder) / kMirrorState;
  std::error_code ec;
  if (!fs::exists(path, ec)) return false;
  const std::string text = ReadText(path);
  // From here the mirror counts as changed: a process that ends before it
  // saves the state again leaves the next one to copy everything.
  fs::rename(path, fs::path(m_folder) / kHeldState, ec);
  if (ec) return false;
  const json saved = ParseJsonOrDiscarded(text);
  if (saved.is_discarded() || !saved.is_object() || saved.value("format", 0) != kMirrorFormat ||
      !saved.contains("records") || !saved["records"].is_object())
    return false;
  try {
    fingerprint = saved.value("fingerprint", "");
    for (const auto& [key, value] : saved["records"].items()) {
      const int64_t id = std::stoll(key);
      RecordState& r = state.records[id];
      r.name = value.at("name").get<std::string>();
      r.baseDataset = value.at("baseDataset").get<std::string>();
      r.featureClass = value.at("featureClass").get<std::string>();
      r.properties = value.at("properties").get<std::map<std::string, std::string>>();
      r.files = value.at("files").get<std::map<std::string, std::string>>();
      r.datasets = value.at("datasets").get<std::map<std::string, std::string>>();
      r.stamps = value.at("stamps").get<std::map<std::string, std::string>>();
      if (value.contains("pulled")) pulled[id] = value["pulled"].get<std::string>();
    }
  } catch (const std::exception&) {
    state = State();
    pulled.clear();
    fingerprint.clear();
    return false;
  }
  return true;
}

void SharedAnalysis::SaveMirrorState(const State& state) const {
  std::error_code ec;
  const fs::path path = fs::path(m_folder) / kMirrorState, held = fs::path(m_folder) / kHeldState;
  bool sameStamps = m_savedStateHolds && m_fingerprint == m_savedFingerprint && state.records.size() == m_base.records.size();
  for (auto a = state.records.begin(), b = m_base.records.begin(); sameStamps && a != state.records.end(); ++a, ++b)
    sameStamps = a->first == b->first && a->second.stamps == b->second.stamps;
  if (sameStamps) {
    fs::rename(held, path, ec);
    if (!ec) return;
  }
  fs::remove(held, ec);
  json records = json::object();
  for (const auto& [id, r] : state.records) {
    json& out = records[std::to_string(id)];
    out = {{"name", r.name},         {"baseDataset", r.baseDataset}, {"featureClass", r.featureClass},
           {"properties", r.properties}, {"files", r.files},           {"datasets", r.datasets},
           {"stamps", r.stamps}};
    if (auto d = m_pulledDigests.find(id); d != m_pulledDigests.end()) out["pulled"] = d->second;
  }
  const json saved = {{"format", kMirrorFormat}, {"fingerprint", m_fingerprint}, {"records", std::move(records)}};
  const fs::path made = fs::path(m_folder) / "mirror.json.new";
  WriteText(made, WriteJson(saved));
  fs::rename(made, path, ec);
  if (ec) fs::remove(made, ec);
}

bool SharedAnalysis::UnchangedSinceBase(State& now) {
  try {
    now = ReadLocal(&m_base, nullptr, m_onlyReads ? &m_base.records : nullptr);
    if (!SameContent(now, m_base)) return false;
    const fs::path document = fs::path(m_folder) / "document.json";
    std::error_code ec;
    if (!fs::exists(document, ec)) return !m_hasDocument;
    if (FileStamp(document) == m_documentStamp) return true;
    return LayerJson::ReadFile(document.string(), kSource) == BaseDocument();
  } catch (...) {
    return false;
  }
}

std::string SharedAnalysis::Fingerprint() {
  std::string sql = "SELECT concat_ws('|'";
  for (const char* table : {"study_areas", "record_properties", "record_files", "record_tables", "settings", "document"})
    sql += ", (SELECT count(*) || ':' || coalesce(sum(hashtextextended(ctid::text || '@' || xmin::text, 0)), 0) FROM " +
           Table(table) + ")";
  return m_db->Scalar(sql + ")", {}, "reading what changed").value_or("");
}

const json& SharedAnalysis::BaseDocument() {
  if (m_baseDocumentText) {
    m_baseDocument = ParseJson(*m_baseDocumentText);
    m_baseDocumentText.reset();
  }
  return m_baseDocument;
}

} // namespace tov
