#include "SharedTestSupport.h"

#include "host/framework/SharedAnalysis.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <sys/wait.h>
#include <thread>

using nlohmann::json;

namespace tov::test {

std::unique_ptr<PgConnection> TestConnection() {
  const SharedLocation location = SharedAnalysis::ParseLocation(PostgisConnection().value_or("PG:"));
  return std::make_unique<PgConnection>(location.conninfo, location.shown);
}

namespace {
void CollectFeatureLayers(const json& layers, std::vector<std::string>& out) {
  for (const auto& layer : layers) {
    if (layer.value("type", "") == "group") CollectFeatureLayers(layer["layers"], out);
    else if (layer.contains("source") && layer["source"].value("relativePath", "").rfind("StudyAreas/", 0) == 0)
      out.push_back(layer["name"]);
  }
}
} // namespace

ServerView ReadServer(const TestWorld& world) {
  ServerView view;
  auto db = TestConnection();
  const std::string s = PgConnection::QuoteIdentifier(world.Schema()) + ".";
  std::map<std::string, std::string> nameOf;
  for (const auto& r : db->Query("SELECT id, name FROM " + s + "study_areas ORDER BY id")) {
    view.names.push_back(*r[1]);
    nameOf[*r[0]] = *r[1];
  }
  // Every record has its layer file and a table with one shape; no table is left without a record.
  std::set<std::string> referenced;
  for (const auto& [id, name] : nameOf) {
    if (!db->Scalar("SELECT 1 FROM " + s + "record_files WHERE record_id = $1", {id}))
      view.problems.push_back(name + ": no layer file");
    auto tables = db->Query("SELECT table_name FROM " + s + "record_tables WHERE record_id = $1", {id});
    if (tables.empty()) view.problems.push_back(name + ": no table");
    for (const auto& t : tables) {
      referenced.insert(*t[0]);
      auto count = db->Scalar("SELECT count(*) FROM " + s + PgConnection::QuoteIdentifier(*t[0]) +
                              " WHERE NOT ST_IsEmpty(shape)");
      if (count.value_or("0") != "1") view.problems.push_back(name + ": table " + *t[0] + " has " + count.value_or("?") + " shapes");
    }
  }
  for (const auto& r : db->Query("SELECT tablename FROM pg_tables WHERE schemaname = $1 AND tablename LIKE 'study\\_area\\_%'",
                                 {world.Schema()}))
    if (!referenced.count(*r[0])) view.problems.push_back("table without a record: " + *r[0]);
  auto document = db->Scalar("SELECT content FROM " + s + "document WHERE id = 1");
  if (document) {
    const json d = json::parse(*document);
    for (const auto& map : d["maps"]) CollectFeatureLayers(map["layers"], view.documentNames);
  }
  std::vector<std::string> a = view.names, b = view.documentNames;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  if (a != b) {
    std::string text = "catalogue and document differ: catalogue";
    for (const auto& n : a) text += " " + n;
    text += "; document";
    for (const auto& n : b) text += " " + n;
    view.problems.push_back(text);
  }
  return view;
}

} // namespace tov::test
