#include "host/common/UserFolders.h"

#include "platform/runtime/HostError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tov {
namespace {
const char kSource[] = "Tovana.UserFolders";

std::string Home() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

// An XDG base folder: the variable when it holds an absolute path (relative
// ones are to be ignored), else the fallback under the home folder.
std::string XdgFolder(const char* variable, const char* fallback) {
  if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
  return Home() + "/" + fallback;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Octal(mode_t mode) {
  std::ostringstream text;
  text << '0' << std::oct << (mode & 0777);
  return text.str();
}
} // namespace

std::string ProgramFolder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec || self.empty()) return std::string();
  return self.parent_path().string();
}

std::string ProgramShareFolder() {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return std::string();
  return (fs::path(folder) / ".." / "share" / "tovana").lexically_normal().string();
}

std::string DefaultResourceFolder() {
  if (const char* env = std::getenv("TOVANA_RESOURCES"); env && *env) return env;
  return ProgramShareFolder();
}

std::string UserDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") + "/tovana"; }

std::string UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config") + "/tovana"; }

namespace {
// Makes the folder (mode 0700) when missing; refuses it unless it is a real
// folder of this user with mode 0700.
void RequirePrivateFolder(const std::string& nativeFolder, const std::string& what) {
  const std::string folder = WithoutTrailingSlash(nativeFolder);
  // Missing parents are made private too, as for any XDG base folder.
  for (size_t at = folder.find('/', 1); at != std::string::npos; at = folder.find('/', at + 1))
    if (mkdir(folder.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST && errno != EACCES)
      break;
  const bool made = mkdir(folder.c_str(), 0700) == 0;
  if (!made && errno != EEXIST)
    throw HostError(err::PathNotFound, kSource,
                    what + " " + folder + " cannot be made (" + std::strerror(errno) + ").");
  if (made) chmod(folder.c_str(), 0700); // whatever the umask left

  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0)
    throw HostError(err::PathNotFound, kSource,
                    what + " " + folder + " cannot be read (" + std::strerror(errno) + ").");
  std::string problem;
  if (S_ISLNK(st.st_mode)) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(folder, ec);
    problem = "is a symbolic link" + (ec ? std::string() : " to " + target.string());
  } else if (!S_ISDIR(st.st_mode)) {
    problem = "is not a folder";
  } else if (st.st_uid != geteuid()) {
    const passwd* owner = getpwuid(st.st_uid);
    problem = "belongs to another user (" + (owner ? std::string(owner->pw_name) : "uid " + std::to_string(st.st_uid)) + ")";
  } else if ((st.st_mode & 0777) != 0700) {
    problem = "has mode " + Octal(st.st_mode) + ", so other users may read or change what is in it";
  }
  if (problem.empty()) return;
  throw HostError(err::PathNotFound, kSource,
                  what + " " + folder + " " + problem +
                      ". Working copies and cached tables are written there and read back, so only a real "
                      "folder of your own with mode 0700 is used. Remove it (or run chmod 700 on a folder of "
                      "your own), or set XDG_CACHE_HOME to another folder.");
}
} // namespace

std::string UserCacheFolder() {
  const std::string folder = XdgFolder("XDG_CACHE_HOME", ".cache") + "/tovana";
  RequirePrivateFolder(folder, "The cache folder");
  return folder;
}

} // namespace tov
