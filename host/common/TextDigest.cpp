#include "host/common/TextDigest.h"

#include <cstdint>
#include <sstream>

namespace tov {

std::string TextDigest(const std::string& text) {
  uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
  std::ostringstream out;
  out << std::hex << h << "-" << std::dec << text.size();
  return out.str();
}

} // namespace tov
