#include "host/gis/DocumentLock.h"

#include "host/common/Paths.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tov {

namespace {
struct Held {
  int fd = -1;
  int count = 0;
};
std::mutex g_mutex;
std::map<std::string, Held> g_held; // by folder

std::string Reason(int error) {
  if (error == EROFS || error == EACCES || error == EPERM) return "the analysis is read-only";
  if (error == ENOSPC || error == EDQUOT) return "the disk is full";
  if (error == ENOENT || error == ENOTDIR) return "its folder does not exist";
  return std::strerror(error);
}

// One key however the folder is written: two locks of one folder in one
// process must share, or the second would wait for the first forever.
std::string FolderOf(const std::string& path) {
  std::error_code ec;
  return ComparablePath(fs::absolute(path, ec).parent_path().string());
}
} // namespace

DocumentLock::DocumentLock(const std::string& nativeDocumentPath) : m_folder(FolderOf(nativeDocumentPath)) {
  std::lock_guard<std::mutex> guard(g_mutex);
  Held& held = g_held[m_folder];
  if (held.count++ > 0) return;
  held.fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int error = errno;
  if (held.fd >= 0) {
    int rc;
    while ((rc = ::flock(held.fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc == 0) return;
    error = errno;
    ::close(held.fd);
  }
  g_held.erase(m_folder);
  throw HostError(75, kApplicationProgId,
                  "The map document \"" + DisplayPath(nativeDocumentPath) + "\" cannot be changed: " + Reason(error) +
                      ".");
}

DocumentLock::~DocumentLock() {
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = g_held.find(m_folder);
  if (it == g_held.end() || --it->second.count > 0) return;
  ::close(it->second.fd); // closing releases the lock
  g_held.erase(it);
}

} // namespace tov
