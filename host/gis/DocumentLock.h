#pragma once
#include <string>

namespace tov {

// An exclusive lock on a map document for one read-modify-write: flock on
// "<document>.lock" beside it, waited for, released when the last
// DocumentLock of that document in this process goes out of scope (or when
// the process ends, however it ends). Nested locks of one document in one
// process share the first one's lock.
class DocumentLock {
public:
  // Raises HostError when the lock file cannot be made (a read-only folder).
  explicit DocumentLock(const std::string& nativeDocumentPath);
  ~DocumentLock();
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;

private:
  std::string m_lockPath;
};

} // namespace tov
