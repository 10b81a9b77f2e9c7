#include "host/framework/SharedAnalysis.h"

#include "host/common/Paths.h"
#include "host/framework/SharedAnalysisParts.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextReplace.h"

#include <atomic>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tov {

namespace shared {
namespace {
std::function<void(const std::string&, PgConnection&)> g_failurePoint;
} // namespace

void FailurePoint(const std::string& point, PgConnection& db) {
  if (g_failurePoint) g_failurePoint(point, db);
}

} // namespace shared

using namespace shared;

SharedAnalysis::SharedAnalysis(SharedLocation location, std::string folder)
    : m_location(std::move(location)), m_folder(std::move(folder)) {}

SharedAnalysis::~SharedAnalysis() {
  // The error log is the team's: its lines go to the schema's log table,
  // those of a failed command too (nothing else of it is published).
  const fs::path logPath = fs::path(m_folder) / "log.txt";
  try {
    std::ifstream log(logPath);
    std::string line;
    while (m_db && std::getline(log, line))
      if (!line.empty()) m_db->Execute("INSERT INTO " + Table("log") + "(line) VALUES($1)", {line});
  } catch (...) {
    // The server is gone; the lines go with the working copy.
  }
  std::error_code ec;
  if (m_mirrorLock >= 0) {
    // A mirror left as pulled or published is kept for the next process;
    // one a command changed without publishing is not trusted again. A pull
    // that never finished has already marked it so.
    State now;
    if (m_pulled) {
      if (UnchangedSinceBase(now)) {
        // A command's scratch layers are its own, as in a private copy.
        fs::remove_all(fs::path(m_folder) / "Scratch", ec);
        fs::resize_file(logPath, 0, ec);
        try {
          SaveMirrorState(now);
        } catch (...) {
        }
      } else {
        fs::remove_all(m_folder, ec);
      }
    }
    ::close(m_mirrorLock);
    return;
  }
  if (!m_folder.empty()) fs::remove_all(m_folder, ec);
}

void SharedAnalysis::SetFailurePoint(std::function<void(const std::string&, PgConnection&)> hook) {
  shared::g_failurePoint = std::move(hook);
}

std::string SharedAnalysis::Table(const std::string& name) const {
  return PgConnection::QuoteIdentifier(m_location.schema) + "." + PgConnection::QuoteIdentifier(name);
}

// The folder appears natively ("/tmp/..."), as a platform path ("\\tmp\\...")
// and as that inside JSON text (each backslash doubled).
std::string SharedAnalysis::ToShared(const std::string& text) const {
  const std::string platform = ToPlatformPath(m_folder), platformToken = "\\${SHARED_ANALYSIS}";
  std::string out = ReplaceAll(text, ReplaceAll(platform, "\\", "\\\\"), ReplaceAll(platformToken, "\\", "\\\\"));
  out = ReplaceAll(out, platform, platformToken);
  return ReplaceAll(out, m_folder, kFolderToken);
}

std::string SharedAnalysis::ToLocal(const std::string& text) const {
  const std::string platform = ToPlatformPath(m_folder), platformToken = "\\${SHARED_ANALYSIS}";
  std::string out = ReplaceAll(text, ReplaceAll(platformToken, "\\", "\\\\"), ReplaceAll(platform, "\\", "\\\\"));
  out = ReplaceAll(out, platformToken, platform);
  return ReplaceAll(out, kFolderToken, m_folder);
}

std::shared_ptr<SharedAnalysis> SharedAnalysis::Open(const std::string& text, bool createMissing) {
  SharedLocation location = ParseLocation(text);
  const fs::path root = WorkRoot(); // refused unless private to this user
  std::error_code ec;
  fs::create_directories(root, ec);
  RemoveAbandonedCopies(root);
  int mirrorLock = -1;
  fs::path folder = TakeMirror(location, mirrorLock);
  if (folder.empty()) {
    static std::atomic<int> counter{0};
    folder = root / (FolderSafeName(location.schema) + "." + std::to_string(getpid()) + ".w" + std::to_string(++counter));
    fs::remove_all(folder, ec);
  }
  std::error_code made;
  fs::create_directories(folder / "StudyAreas", made);
  if (!fs::is_directory(folder / "StudyAreas", ec)) {
    if (mirrorLock >= 0) ::close(mirrorLock);
    throw HostError(err::PathNotFound, kSource,
                    "The working folder " + folder.string() + " of the shared analysis cannot be made: " + made.message() +
                        ". Set XDG_CACHE_HOME to a folder that can be written.");
  }
  std::shared_ptr<SharedAnalysis> shared(new SharedAnalysis(location, folder.string()));
  shared->m_mirrorLock = mirrorLock;
  shared->m_db = std::make_unique<PgConnection>(location.conninfo, location.shown);
  shared->PrepareSchema(createMissing);
  shared->Pull();
  return shared;
}

int64_t SharedAnalysis::NextStudyAreaId() {
  return std::stoll(
      m_db->Scalar("SELECT nextval($1::regclass)", {Table("study_area_ids")}, "numbering a new study area").value_or("0"));
}

} // namespace tov
