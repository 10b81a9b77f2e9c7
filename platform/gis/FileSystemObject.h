#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "Scripting.FileSystemObject". Paths are platform paths.
class FileSystemObject : public virtual Object {
public:
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool FolderExists(const std::string& path) const = 0;
  // The full path of path (relative paths resolved against the working
  // folder, "." and ".." removed). The file need not exist.
  virtual std::string GetAbsolutePathName(const std::string& path) const = 0;
  // A missing file raises 53.
  virtual void DeleteFile(const std::string& path) = 0;
};

using FileSystemObjectPtr = std::shared_ptr<FileSystemObject>;

} // namespace tov
