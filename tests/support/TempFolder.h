#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tov::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovtest-XXXXXX").string();
    m_path = mkdtemp(pattern.data());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
  std::string m_path;
};

} // namespace tov::testing
