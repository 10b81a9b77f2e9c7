// Where the program keeps the user's files, and the cache folder it refuses
// when someone else could have made or could change it.
#include "Errors.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include "host/common/UserFolders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tov::testing::ScopedEnvironment;
using tov::testing::TempFolder;

namespace tov {
namespace {

// The refusal's message, or "" when the cache folder was taken.
std::string Refusal() { return tov::test::ErrorOf([] { UserCacheFolder(); }).description; }

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  lstat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(UserFoldersTest, TheXdgFoldersWinAndRelativeOnesFallBackToTheHomeFolder) {
  TempFolder tmp;
  ScopedEnvironment home("HOME", tmp.Path());
  {
    ScopedEnvironment data("XDG_DATA_HOME", tmp / "data"), config("XDG_CONFIG_HOME", tmp / "config");
    EXPECT_EQ(UserDataFolder(), tmp / "data/tovana");
    EXPECT_EQ(UserConfigFolder(), tmp / "config/tovana");
  }
  ScopedEnvironment data("XDG_DATA_HOME", "relative/data"), cache("XDG_CACHE_HOME", std::nullopt);
  EXPECT_EQ(UserDataFolder(), tmp / ".local/share/tovana");
  EXPECT_EQ(UserCacheFolder(), tmp / ".cache/tovana");
}

TEST(UserFoldersTest, TheCacheFolderIsMadePrivateWithItsParents) {
  TempFolder tmp;
  ScopedEnvironment cache("XDG_CACHE_HOME", tmp / "made/later");
  const std::string folder = UserCacheFolder();
  EXPECT_EQ(folder, tmp / "made/later/tovana");
  EXPECT_EQ(std::make_pair(ModeOf(folder), ModeOf(tmp / "made")), std::make_pair(0700u, 0700u));
  EXPECT_EQ(UserCacheFolder(), folder) << "a second use takes the folder it made";
}

TEST(UserFoldersTest, ACacheFolderSomeoneElseCouldControlIsRefusedAndLeftAlone) {
  TempFolder tmp;
  ScopedEnvironment cache("XDG_CACHE_HOME", tmp / "cache");
  fs::create_directories(tmp / "cache");
  const std::string folder = tmp / "cache/tovana";

  // A symbolic link, even to a private folder of the user's own.
  fs::create_directory(tmp / "elsewhere");
  fs::permissions(tmp / "elsewhere", fs::perms::owner_all, fs::perm_options::replace);
  fs::create_directory_symlink(tmp / "elsewhere", folder);
  std::string why = Refusal();
  EXPECT_NE(why.find(folder + " is a symbolic link to " + tmp / "elsewhere"), std::string::npos) << why;
  EXPECT_NE(why.find("XDG_CACHE_HOME"), std::string::npos) << why;
  EXPECT_TRUE(fs::is_empty(tmp / "elsewhere"));
  fs::remove(folder);

  // A folder others may write into.
  fs::create_directory(folder);
  chmod(folder.c_str(), 0777);
  why = Refusal();
  EXPECT_NE(why.find(folder + " has mode 0777"), std::string::npos) << why;
  EXPECT_EQ(ModeOf(folder), 0777u) << "a refused folder is not changed";
  chmod(folder.c_str(), 0750);
  EXPECT_NE(Refusal().find("has mode 0750"), std::string::npos) << "others reading it is refused too";

  // Not a folder at all.
  fs::remove(folder);
  { std::ofstream(folder) << "x"; }
  EXPECT_NE(Refusal().find(folder + " is not a folder"), std::string::npos);
  fs::remove(folder);

  // Another user's, private as it may be (only the superuser can make one).
  fs::create_directory(folder);
  chmod(folder.c_str(), 0700);
  if (geteuid() == 0 && chown(folder.c_str(), 65534, 65534) == 0) {
    EXPECT_NE(Refusal().find("belongs to another user"), std::string::npos);
  }

  fs::remove(folder);
  EXPECT_EQ(Refusal(), "") << "a missing folder is made";
}

TEST(UserFoldersTest, TheSharedFilesAreBesideTheRunningProgram) {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(ProgramShareFolder(), (self.parent_path().parent_path() / "share" / "tovana").string());
  ScopedEnvironment resources("TOVANA_RESOURCES", "/opt/texts");
  EXPECT_EQ(DefaultResourceFolder(), "/opt/texts");
  ScopedEnvironment none("TOVANA_RESOURCES", std::nullopt);
  EXPECT_EQ(DefaultResourceFolder(), ProgramShareFolder());
}

} // namespace
} // namespace tov
