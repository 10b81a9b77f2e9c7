#include "host/framework/SharedAnalysis.h"

#include "host/framework/SharedAnalysisParts.h"
#include "host/gis/DirectJson.h"
#include "host/gis/JsonView.h"
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
  try {
    const JsonView view(text);
    const JsonValue& saved = view.Root();
    const JsonValue* format = saved.Find("format");
    const JsonValue* records = saved.Find("records");
    if (!format || !format->is_number_integer() || format->Integer() != kMirrorFormat || !records ||
        !records->is_object())
      return false;
    if (const JsonValue* f = saved.Find("fingerprint"); f && f->is_string()) fingerprint = f->Text();
    // A member that is missing or of another kind: the state is not used.
    auto text = [](const JsonValue& record, const char* key) {
      const JsonValue* v = record.Find(key);
      if (!v || !v->is_string()) throw std::runtime_error("damaged");
      return std::string(v->Text());
    };
    auto texts = [](const JsonValue& record, const char* key) {
      const JsonValue* v = record.Find(key);
      if (!v || !v->is_object()) throw std::runtime_error("damaged");
      std::map<std::string, std::string> values;
      for (size_t i = 0; i < v->size(); ++i) {
        const JsonValue& member = (*v)[i];
        if (!member.is_string()) throw std::runtime_error("damaged");
        values[std::string(member.Key())] = member.Text();
      }
      return values;
    };
    for (size_t i = 0; i < records->size(); ++i) {
      const JsonValue& value = (*records)[i];
      if (!value.is_object()) throw std::runtime_error("damaged");
      const int64_t id = std::stoll(std::string(value.Key()));
      RecordState& r = state.records[id];
      r.name = text(value, "name");
      r.baseDataset = text(value, "baseDataset");
      r.featureClass = text(value, "featureClass");
      r.properties = texts(value, "properties");
      r.files = texts(value, "files");
      r.datasets = texts(value, "datasets");
      r.stamps = texts(value, "stamps");
      if (value.Find("pulled")) pulled[id] = text(value, "pulled");
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
  JsonTextWriter out;
  auto texts = [&out](const char* key, const std::map<std::string, std::string>& values) {
    out.Key(key);
    out.BeginObject();
    for (const auto& [name, value] : values) {
      out.Key(name);
      out.String(value);
    }
    out.End();
  };
  out.BeginObject();
  out.Key("fingerprint");
  out.String(m_fingerprint);
  out.Key("format");
  out.Integer(kMirrorFormat);
  out.Key("records");
  out.BeginObject();
  for (const auto& [id, r] : state.records) {
    out.Key(std::to_string(id));
    out.BeginObject();
    out.Key("baseDataset");
    out.String(r.baseDataset);
    texts("datasets", r.datasets);
    out.Key("featureClass");
    out.String(r.featureClass);
    texts("files", r.files);
    out.Key("name");
    out.String(r.name);
    texts("properties", r.properties);
    if (auto d = m_pulledDigests.find(id); d != m_pulledDigests.end()) {
      out.Key("pulled");
      out.String(d->second);
    }
    texts("stamps", r.stamps);
    out.End();
  }
  out.End();
  out.End();
  const fs::path made = fs::path(m_folder) / "mirror.json.new";
  WriteText(made, out.Text());
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
