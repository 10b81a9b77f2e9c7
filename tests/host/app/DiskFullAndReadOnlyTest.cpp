// An analysis on a full disk or a read-only one: what writes fails saying
// why, what only reads still works. The test needs to mount a small tmpfs
// and a read-only bind mount (root in a mount namespace); it is skipped
// where that is not possible.
#include "AnalysisViews.h"
#include "Program.h"

#include "host/framework/AnalysisDatabase.h"

#include <cstdio>
#include <sys/mount.h>

namespace tov::test {
namespace {

// A mount for the test's lifetime.
class Mount {
public:
  Mount(const std::string& target) : m_target(target) {}
  ~Mount() {
    if (m_mounted) umount2(m_target.c_str(), MNT_DETACH);
  }
  bool Tmpfs(const std::string& size) {
    m_mounted = mount("tmpfs", m_target.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    return m_mounted;
  }
  bool ReadOnlyBind(const std::string& source) {
    m_mounted = mount(source.c_str(), m_target.c_str(), nullptr, MS_BIND, nullptr) == 0;
    return m_mounted && mount(nullptr, m_target.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
  }

private:
  std::string m_target;
  bool m_mounted = false;
};

// Fills the file system holding folder until nothing more can be written.
void FillDisk(const std::string& folder) {
  std::FILE* f = std::fopen((folder + "/filler").c_str(), "wb");
  ASSERT_TRUE(f);
  std::vector<char> block(4096, 'x');
  while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
  }
  std::fclose(f);
}

class DiskTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(RunTovana(world, "setup extent --name Kept --lonlat --extent -74.6,40.2,-74.1,40.8").exitCode, 0);
    ASSERT_EQ(RunTovana(world, "setup extent --name Other --lonlat --extent -74.0,40.3,-73.6,40.7").exitCode, 0);
    mountPoint = world.Root() + "/mounted";
    fs::create_directories(mountPoint);
  }

  // Every command that changes the analysis, with the words its failure must say.
  void ExpectEveryWriteFails(const std::string& folder, const std::string& why) {
    for (const std::string& command : {std::string("setup extent --name New --lonlat --extent -74.5,40.3,-74.2,40.6"),
                                       std::string("open Other"), std::string("rename Other Renamed"),
                                       std::string("delete Other")}) {
      const ProgramRun run = RunTovanaOn(world, folder, command);
      EXPECT_EQ(run.exitCode, 1) << command << "\n" << run.output << run.errors;
      EXPECT_TRUE(Has(run.errors, why) && !Has(run.errors, "no transaction is active")) << command << "\n" << run.errors;
    }
  }

  TestWorld world;
  std::string mountPoint;
};

TEST_F(DiskTest, OnAReadOnlyAnalysisReadingWorksAndWritingSaysItIsReadOnly) {
  Mount readOnly(mountPoint);
  if (!readOnly.ReadOnlyBind(world.AnalysisFolder())) GTEST_SKIP() << "cannot make a read-only bind mount here";
  const std::string before = ReadTextFile(world.AnalysisFolder() + "/document.json");

  const ProgramRun list = RunTovanaOn(world, mountPoint, "list");
  EXPECT_EQ(list.exitCode, 0) << list.errors;
  EXPECT_TRUE(Has(list.output, "Kept")) << list.output;
  for (const std::string& command : {std::string("show Kept"), "render --out '" + world.Root() + "/map.png'",
                                     "export Kept --out '" + world.Root() + "/kept.geojson'"}) {
    const ProgramRun run = RunTovanaOn(world, mountPoint, command);
    EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.errors;
  }
  EXPECT_TRUE(fs::exists(world.Root() + "/kept.geojson"));

  ExpectEveryWriteFails(mountPoint, "read-only");
  EXPECT_EQ(ReadTextFile(world.AnalysisFolder() + "/document.json"), before);
}

TEST_F(DiskTest, OnAFullDiskEveryWriteSaysTheDiskIsFullAndNothingIsLost) {
  Mount small(mountPoint);
  if (!small.Tmpfs("4m")) GTEST_SKIP() << "cannot mount a small tmpfs here";
  const std::string folder = mountPoint + "/analysis";
  fs::copy(world.AnalysisFolder(), folder, fs::copy_options::recursive);
  FillDisk(mountPoint);

  ExpectEveryWriteFails(folder, "disk is full");
  const ProgramRun list = RunTovanaOn(world, folder, "list");
  EXPECT_EQ(list.exitCode, 0) << list.errors;
  EXPECT_TRUE(Has(list.output, "Kept") && Has(list.output, "Other") && !Has(list.output, "broken")) << list.output;

  // With room again, the analysis is whole and takes a new study area.
  fs::remove(mountPoint + "/filler");
  EXPECT_EQ(RunTovanaOn(world, folder, "check --repair").exitCode, 0);
  const ProgramRun again = RunTovanaOn(world, folder, "setup extent --name New --lonlat --extent -74.5,40.3,-74.2,40.6");
  EXPECT_EQ(again.exitCode, 0) << again.errors;
  EXPECT_EQ(RunTovanaOn(world, folder, "check").exitCode, 0);
}

TEST_F(DiskTest, ADiskThatFillsWhileTheAnalysisIsOpenIsNamedAsTheReason) {
  Mount small(mountPoint);
  if (!small.Tmpfs("4m")) GTEST_SKIP() << "cannot mount a small tmpfs here";
  auto db = std::make_shared<AnalysisDatabase>(mountPoint + "/analysis.sqlite");
  db->SetSetting("Analysis", "Before", "kept");
  FillDisk(mountPoint);
  // Large enough that it cannot stay in the page cache of the open file.
  const Raised full = ErrorOf([&] { db->SetSetting("Analysis", "Large", std::string(1 << 20, 'x')); });
  EXPECT_TRUE(Has(full.description, "cannot be changed: the disk is full") &&
              !Has(full.description, "no transaction is active"))
      << full.description;
  EXPECT_EQ(db->GetSetting("Analysis", "Before"), "kept");
  bool found = true;
  db->GetSetting("Analysis", "Large", &found);
  EXPECT_FALSE(found);
}

} // namespace
} // namespace tov::test
