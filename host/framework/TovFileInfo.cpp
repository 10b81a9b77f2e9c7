#include "host/framework/TovFileInfo.h"

namespace tov {
namespace {
// The platform separator is the backslash; "/" is taken too so a native path
// handed in by mistake still splits sensibly.
size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
} // namespace

std::string TovFileInfo::DirectoryPart() {
  size_t sep = LastSeparator(m_path);
  return sep == std::string::npos ? std::string() : m_path.substr(0, sep + 1);
}

std::string TovFileInfo::FileName() const {
  size_t sep = LastSeparator(m_path);
  return sep == std::string::npos ? m_path : m_path.substr(sep + 1);
}

std::string TovFileInfo::NamePart() {
  std::string name = FileName();
  size_t dot = name.rfind('.');
  // A leading dot (".hidden") is part of the name, not an extension.
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string TovFileInfo::ExtensionPart() {
  std::string name = FileName();
  size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot + 1);
}

} // namespace tov
