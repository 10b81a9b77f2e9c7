// Linked into every test program: the checkout's texts and layouts, and
// data, cache and settings folders of the build's own instead of the user's
// (no test reads or leaves anything in the home folder, and the user's own
// data sets do not change what a test sees). The programs a test starts
// inherit the same.
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
