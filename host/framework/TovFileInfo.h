#pragma once
#include "platform/framework/FileInfo.h"

namespace tov {

// "TovDM.TovFileInfo": splits a path by text alone; nothing is read on disk.
class TovFileInfo : public FileInfo {
public:
  void SetPath(const std::string& path) override { m_path = path; }
  std::string Path() override { return m_path; }
  std::string DirectoryPart() override;
  std::string NamePart() override;
  std::string ExtensionPart() override;

private:
  std::string FileName() const;
  std::string m_path;
};

} // namespace tov
