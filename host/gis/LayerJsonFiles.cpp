// The files layers are kept in: written atomically, read whole, parsed with
// the error that names the damaged file.
#include "host/gis/LayerJson.h"

#include "host/common/Paths.h"
#include "host/gis/DirectJson.h"
#include "host/gis/GisErrors.h"
#include "host/gis/JsonErrors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

std::string LayerJson::Text(const json& j) { return WriteJson(j); }

void LayerJson::WriteFileAtomically(const std::string& nativePath, const std::string& text, const char* source) {
  const fs::path target(nativePath);
  std::error_code ec;
  if (!target.parent_path().empty() && !fs::is_directory(target.parent_path(), ec))
    throw HostError(err::PathNotFound, source,
                    "The folder \"" + DisplayPath(target.parent_path().string()) + "\" does not exist");
  const fs::path temp = target.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      fs::remove(temp, ec);
      throw HostError(75, source, "The file \"" + DisplayPath(target.string()) + "\" cannot be written; check the disk space and permissions");
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw HostError(75, source, "The file \"" + DisplayPath(target.string()) + "\" cannot be replaced: " + ec.message());
  }
}

json LayerJson::ReadFile(const std::string& nativePath, const char* source) {
  return ParseText(ReadText(nativePath, source), nativePath, source);
}

std::string LayerJson::ReadText(const std::string& nativePath, const char* source, struct stat* seen) {
  // Read whole in one go: a list reads one layer file per study area.
  const int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw HostError(err::FileNotFound, source, "The file \"" + DisplayPath(nativePath) + "\" does not exist or cannot be read");
  std::string text;
  struct stat st {};
  const bool known = fstat(fd, &st) == 0;
  size_t size = known && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  // Read to the size the file has, or (none known) to its end. What cannot
  // be read ends the text, which the parser then refuses.
  text.resize(size ? size : 65536);
  size_t used = 0;
  for (ssize_t n; (n = read(fd, text.data() + used, text.size() - used)) > 0 || (n < 0 && errno == EINTR);) {
    if (n > 0) used += static_cast<size_t>(n);
    if (size && used == size) break;
    if (used == text.size()) text.resize(text.size() * 2);
  }
  close(fd);
  text.resize(used);
  // Only a file read to the size it had is as it was seen.
  if (seen) {
    *seen = {};
    if (known && used == size) *seen = st;
  }
  return text;
}

namespace {
// What parse gives, or the error that the file at nativePath is damaged.
template <typename Parse> auto ParsedOrDamaged(const std::string& nativePath, const char* source, Parse parse) {
  try {
    return parse();
  } catch (...) {
    ThrowJsonError(std::current_exception(), [&](const std::string& reason) {
      return HostError(gisErr::DocumentFormat, source,
                       "The file \"" + DisplayPath(nativePath) + "\" is damaged and cannot be read (" + reason + ")");
    });
  }
}
} // namespace

json LayerJson::ParseText(const std::string& text, const std::string& nativePath, const char* source) {
  return ParsedOrDamaged(nativePath, source, [&] { return ParseJson(text); });
}

std::unique_ptr<JsonView> LayerJson::ParseView(const std::string& text, const std::string& nativePath,
                                               const char* source) {
  return ParsedOrDamaged(nativePath, source, [&] { return std::make_unique<JsonView>(text); });
}

} // namespace tov
