// The command line hands the window and the map drawing to tovana-window, and
// loads no Qt itself.
#include "Program.h"
#include "WorldTest.h"

#include <filesystem>

#include <sys/wait.h>

namespace tov::test {
namespace {

using WindowProgramTest = WorldTest;

TEST_F(WindowProgramTest, TheCommandLineLoadsNoQtAndSaysSoWhenTheWindowProgramIsMissing) {
  const std::string program = std::string(TOVANA_BINARY_ROOT) + "/host/app/tovana";
  // Qt and what it brings are about a quarter of every command's start-up.
  EXPECT_NE(std::system(("ldd '" + program + "' | grep -q libQt").c_str()), 0) << "tovana loads Qt";

  if (world->Shared()) world->Open(); // only commands that store make a shared analysis
  // The window program checks its own options and draws.
  EXPECT_EQ(Tovana("render"), 2);
  EXPECT_TRUE(Has(errors, "--out is required")) << errors;
  const std::string png = world->Root() + "/map.png";
  EXPECT_EQ(Tovana("render --size 80x60 --out '" + png + "'"), 0) << errors;
  EXPECT_TRUE(std::filesystem::exists(png));

  // Without tovana-window beside it, the program says what is missing and
  // still runs every other command.
  const std::string alone = world->Root() + "/alone";
  std::filesystem::create_directories(alone);
  std::filesystem::copy_file(program, alone + "/tovana");
  const auto run = [&](const std::string& arguments) {
    const int status = std::system(("'" + alone + "/tovana' --data-root '" + world->DataRoot() + "' --analysis '" +
                                    world->AnalysisFolder() + "' --dataset Test " + arguments + " >'" + alone +
                                    "/out' 2>'" + alone + "/err'")
                                       .c_str());
    errors = ReadTextFile(alone + "/err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("render --out '" + alone + "/map.png'"), 1);
  EXPECT_TRUE(Has(errors, "tovana: the window program " + alone + "/tovana-window cannot be started")) << errors;
  EXPECT_FALSE(std::filesystem::exists(alone + "/map.png"));
  EXPECT_EQ(run("list"), 0) << errors;
}

} // namespace
} // namespace tov::test
