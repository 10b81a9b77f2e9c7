#pragma once
#include <string>

namespace tov {

// An exclusive lock on a map document for one read-modify-write: flock on
// the folder that holds it (so no lock file is left beside it), waited for,
// released when the last DocumentLock of that folder in this process goes
// out of scope (or when the process ends, however it ends). Nested locks in
// one process share the first one's lock.
class DocumentLock {
public:
  // Raises HostError when the folder cannot be opened.
  explicit DocumentLock(const std::string& nativeDocumentPath);
  ~DocumentLock();
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;

private:
  std::string m_folder;
};

} // namespace tov
