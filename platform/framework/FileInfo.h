#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Splits a platform path (backslash separators) into its parts.
class FileInfo : public virtual Object {
public:
  virtual void SetPath(const std::string& path) = 0;
  virtual std::string Path() = 0;
  // Directory part including its closing separator ("" when there is none).
  virtual std::string DirectoryPart() = 0;
  // File name without directory and without extension.
  virtual std::string NamePart() = 0;
  // Extension without the dot ("" when there is none).
  virtual std::string ExtensionPart() = 0;
};

using FileInfoPtr = std::shared_ptr<FileInfo>;

} // namespace tov
