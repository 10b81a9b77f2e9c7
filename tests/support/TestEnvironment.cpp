// Linked into every test program (and inherited by the programs it starts):
// the checkout's resources and the build's own data, cache and settings
// folders, so that no test reads or leaves anything in the user's.
#include <cstdlib>
#include <string>

namespace {
struct TestEnvironment {
  TestEnvironment() {
    setenv("TOVANA_RESOURCES", TOVANA_SOURCE_ROOT "/resources", 0);
    const std::string home = std::string(TOVANA_BINARY_ROOT) + "/test-home";
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    unsetenv("TOVANA_DATA");
  }
} g_testEnvironment;
} // namespace
