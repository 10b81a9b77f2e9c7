#include "host/gis/ShapefileCheck.h"

#include "host/gis/FilesFoundWhole.h"

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tov {
namespace {

constexpr uint32_t kFileCode = 9994; // the .shp's and .shx's first word
constexpr size_t kMainHeader = 100;  // .shp and .shx header bytes
constexpr size_t kTableHeader = 32;  // .dbf header bytes before the field descriptors
constexpr size_t kFieldDescriptor = 32;
constexpr char kCacheKind[] = "shapefiles";
constexpr char kCacheHeader[] = "tovana whole shapefiles 1";

// The first bytes of a regular file, up to `count`, and its size; the files
// read, as seen, when `seen` is given.
using Seen = std::vector<std::pair<std::string, struct stat>>;
struct FileStart {
  std::vector<unsigned char> bytes;
  uint64_t size = 0;
  Seen* seen = nullptr;
};

// Files are opened relative to their folder's descriptor: the folder's path
// is then looked up once rather than once per file.
bool ReadStart(int folder, const std::string& place, const std::string& file, int mode, size_t count, FileStart& out) {
  const int fd = openat(folder, file.c_str(), mode | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) {
    if (out.seen) out.seen->emplace_back(place + "/" + file, st);
    out.size = static_cast<uint64_t>(st.st_size);
    out.bytes.resize(static_cast<size_t>(std::min<uint64_t>(count, out.size)));
    ok = pread(fd, out.bytes.data(), out.bytes.size(), 0) == static_cast<ssize_t>(out.bytes.size());
  }
  close(fd);
  return ok;
}

// The driver looks for the index and the table under either letter case.
bool ReadCompanion(int folder, const std::string& place, const std::string& name, const char* lower, const char* upper,
                   int mode, size_t count, FileStart& out) {
  return ReadStart(folder, place, name + lower, mode, count, out) ||
         ReadStart(folder, place, name + upper, mode, count, out);
}

uint32_t BigEndian32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}
uint32_t LittleEndian32(const unsigned char* p) {
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | uint32_t{p[0]};
}
uint32_t LittleEndian16(const unsigned char* p) { return uint32_t{p[1]} << 8 | uint32_t{p[0]}; }

// A .shp or .shx header: the file code, and a length (in 16-bit words) no
// shorter than the header and no longer than the file.
bool MainHeaderFits(const FileStart& file) {
  if (file.bytes.size() < kMainHeader || BigEndian32(file.bytes.data()) != kFileCode) return false;
  const uint64_t length = uint64_t{BigEndian32(file.bytes.data() + 24)} * 2;
  return length >= kMainHeader && length <= file.size;
}

// A .dbf header: its length and record length usable, its field
// descriptors there and fitting one record, its records fitting the file.
bool TableHeaderFits(int folder, const std::string& place, const std::string& name, int mode, Seen* seen) {
  // Enough for the header of a table of a hundred fields in one read.
  constexpr size_t kMostRead = 4096;
  FileStart table;
  table.seen = seen;
  if (!ReadCompanion(folder, place, name, ".dbf", ".DBF", mode, kMostRead, table) || table.bytes.size() < kTableHeader)
    return false;
  const unsigned char* h = table.bytes.data();
  const uint64_t records = LittleEndian32(h + 4);
  const uint32_t headerLength = LittleEndian16(h + 8);
  const uint32_t recordLength = LittleEndian16(h + 10);
  if (headerLength < kTableHeader || recordLength == 0) return false;
  if (headerLength + records * recordLength > table.size) return false;
  // The longer read is of the file already seen: it is not recorded twice.
  table.seen = nullptr;
  if (headerLength > table.bytes.size() &&
      (!ReadCompanion(folder, place, name, ".dbf", ".DBF", mode, headerLength, table) || table.bytes.size() < headerLength))
    return false;
  uint32_t used = 1; // each record starts with its deletion flag
  for (size_t at = kTableHeader; at + kFieldDescriptor <= headerLength && table.bytes[at] != 0x0D;
       at += kFieldDescriptor) {
    const unsigned char* field = table.bytes.data() + at;
    const bool numeric = field[11] == 'N' || field[11] == 'F';
    used += numeric ? field[16] : field[16] + 256u * field[17];
  }
  return used <= recordLength;
}

// Shapefiles found whole, with their files as seen then: a command that
// looks at every study area's data through the map's layer and again
// through its layer file reads the headers once, and with an analysis's
// cache (UseShapefileCacheOf) the next command reads none of them. A file
// changed since (its contents, size, mode or owner, or replaced) is read
// again. The cache is read when a shapefile is first asked about: a command
// that opens no layer's data (`list`) does not read it.
FolderFilesCache g_whole(kCacheKind, kCacheHeader);
} // namespace

void UseShapefileCacheOf(const std::string& analysisFolder) { g_whole.Use(analysisFolder); }

void SaveShapefileCache() { g_whole.Save(); }

bool ShapefileLooksWhole(const std::string& folder, const std::string& name, ShapefileUse use) {
  std::string place = folder;
  while (place.size() > 1 && place.back() == '/') place.pop_back();
  const std::string subject = (use == ShapefileUse::Update ? "w:" : "r:") + place + "/" + name;
  if (g_whole.With([&](FilesFoundWhole& found) { return found.StillWhole(subject); })) return true;
  const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  // Opened as the driver would open them, so a file it could not write is
  // found here too; nothing is written.
  const int mode = use == ShapefileUse::Update ? O_RDWR : O_RDONLY;
  Seen seen;
  FileStart shapes, index;
  shapes.seen = index.seen = &seen;
  const bool whole = ReadStart(dir, place, name + ".shp", mode, kMainHeader, shapes) && MainHeaderFits(shapes) &&
                     ReadCompanion(dir, place, name, ".shx", ".SHX", mode, kMainHeader, index) &&
                     MainHeaderFits(index) && TableHeaderFits(dir, place, name, mode, &seen);
  close(dir);
  g_whole.With([&](FilesFoundWhole& found) { whole ? found.RememberWhole(subject, seen) : found.Forget(subject); });
  return whole;
}

} // namespace tov
