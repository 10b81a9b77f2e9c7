#include "host/framework/HostEnvironment.h"

#include "host/common/UserFolders.h"

#include <iostream>
#include <mutex>

namespace tov {
namespace {
std::mutex g_mutex;
std::string g_resourceRoot;
std::string g_logPath;
ErrorDisplay g_display;
} // namespace

std::string ResourceRoot() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_resourceRoot.empty()) return g_resourceRoot;
  return DefaultResourceFolder();
}

void SetResourceRoot(const std::string& nativeFolder) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_resourceRoot = nativeFolder;
}

std::string ErrorLogPath() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_logPath;
}

void SetErrorLogPath(const std::string& nativePath) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_logPath = nativePath;
}

void SetErrorDisplay(ErrorDisplay display) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_display = std::move(display);
}

void ShowErrorLine(const std::string& line) {
  ErrorDisplay display;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    display = g_display;
  }
  if (display) display(line);
  else std::cerr << line << std::endl;
}

} // namespace tov
