#pragma once
// The throwaway PostGIS cluster of tov_add_test(... POSTGIS): the same tests
// run with files and with the database, told apart by TOVANA_TEST_POSTGIS.
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace tov::test {

// True in the run against the database ("PostGIS.<test>").
inline bool PostgisRun() { return std::getenv("TOVANA_TEST_POSTGIS") != nullptr; }

// The cluster's GDAL connection string ("PG:host=..."), or nothing outside
// the database run or when the cluster did not start.
inline std::optional<std::string> PostgisConnection() {
  const char* file = std::getenv("TOVANA_TEST_POSTGIS");
  if (!file) return std::nullopt;
  std::ifstream in(file);
  std::string line;
  if (!std::getline(in, line) || line.rfind("PG:", 0) != 0) return std::nullopt;
  return line;
}

} // namespace tov::test

// In a test body: skip the database run when there is no cluster.
#define TOV_REQUIRE_POSTGIS_IF_ASKED()                                                                   \
  do {                                                                                                  \
    if (::tov::test::PostgisRun() && !::tov::test::PostgisConnection())                                 \
      GTEST_SKIP() << "no PostGIS cluster (scripts/install-deps installs the server and PostGIS)";     \
  } while (0)
