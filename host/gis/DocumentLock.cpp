#include "host/gis/DocumentLock.h"

#include "host/common/Paths.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace tov {

namespace {
struct Held {
  int fd = -1;
  int count = 0;
};
std::mutex g_mutex;
std::map<std::string, Held> g_held; // by lock file path

std::string Reason(int error) {
  if (error == EROFS || error == EACCES || error == EPERM) return "the analysis is read-only";
  if (error == ENOSPC || error == EDQUOT) return "the disk is full";
  return std::strerror(error);
}
} // namespace

DocumentLock::DocumentLock(const std::string& nativeDocumentPath) : m_lockPath(nativeDocumentPath + ".lock") {
  std::lock_guard<std::mutex> guard(g_mutex);
  Held& held = g_held[m_lockPath];
  if (held.count++ > 0) return;
  held.fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  int error = errno;
  if (held.fd >= 0) {
    int rc;
    while ((rc = ::flock(held.fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc == 0) return;
    error = errno;
    ::close(held.fd);
  }
  g_held.erase(m_lockPath);
  throw HostError(75, kApplicationProgId,
                  "The map document \"" + DisplayPath(nativeDocumentPath) + "\" cannot be changed: " + Reason(error) +
                      ".");
}

DocumentLock::~DocumentLock() {
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = g_held.find(m_lockPath);
  if (it == g_held.end() || --it->second.count > 0) return;
  ::close(it->second.fd); // closing releases the lock
  g_held.erase(it);
}

} // namespace tov
