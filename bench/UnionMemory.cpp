// Peak memory of the largest union, in a process of its own:
//   bench_union_memory host|unary|coverage|read
// prints "<mode> method=<how the union was made> read_kb=<maxrss after reading>
// peak_kb=<maxrss at the end>".
#include "bench/BenchSupport.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
long MaxRssKb() {
  rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
} // namespace

int main(int argc, char** argv) {
  using namespace tov::bench;
  const char* mode = argc > 1 ? argv[1] : "host";
  if (std::strcmp(mode, "host") && std::strcmp(mode, "unary") && std::strcmp(mode, "coverage") &&
      std::strcmp(mode, "read")) {
    std::fprintf(stderr, "usage: bench_union_memory host|unary|coverage|read\n");
    return 2;
  }
  try {
    auto shapes = ReadShapes("zip_areas", "");
    const long readKb = MaxRssKb();
    long parts = 0;
    std::string method = mode;
    if (!std::strcmp(mode, "host")) parts = HostUnion(shapes, &method);
    else if (!std::strcmp(mode, "unary")) parts = RawGeosUnion(shapes, GeosUnion::Unary);
    else if (!std::strcmp(mode, "coverage")) parts = RawGeosUnion(shapes, GeosUnion::Coverage);
    std::printf("%s method=%s shapes=%zu parts=%ld read_kb=%ld peak_kb=%ld\n", mode, method.c_str(), shapes.size(), parts,
                readKb, MaxRssKb());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_union_memory: %s\n", e.what());
    return 1;
  }
}
