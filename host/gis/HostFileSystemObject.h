#pragma once
#include "platform/gis/FileSystemObject.h"

namespace tov {

// "Scripting.FileSystemObject" on std::filesystem.
class HostFileSystemObject : public FileSystemObject {
public:
  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  std::string GetAbsolutePathName(const std::string& path) const override;
  void DeleteFile(const std::string& path) override;
};

} // namespace tov
