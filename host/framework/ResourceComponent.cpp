#include "host/framework/ResourceComponent.h"

#include "host/common/Paths.h"
#include "host/framework/HostEnvironment.h"

#include <sys/stat.h>

namespace tov {

std::string ResourceComponent::FindString(const std::string& id) {
  if (!m_table) m_table = LoadResourceTable(ResourceRoot() + "/" + TableFileName(m_kind));
  size_t b = id.find_first_not_of(' ');
  std::string key = b == std::string::npos ? std::string() : id.substr(b, id.find_last_not_of(' ') - b + 1);
  auto it = m_table->find(key);
  return it == m_table->end() ? std::string() : it->second;
}

ResourcePicturePtr ResourceComponent::FindCursor(const std::string& id) {
  if (m_kind != Kind::Layout || id.empty() || id.find_first_not_of("0123456789") != std::string::npos)
    return nullptr;
  std::string native = ResourceRoot() + "/cursors/" + id + ".png";
  struct stat st {};
  if (stat(native.c_str(), &st) != 0) return nullptr;
  return std::make_shared<FilePicture>(ToPlatformPath(native));
}

} // namespace tov
