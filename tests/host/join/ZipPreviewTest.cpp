// The ZIP preview against the method itself: where codes need not be
// numeric, letter case, "_" and a trailing "%" must decide the preview's
// count exactly as they decide which areas the study area is made of.
#include "ZipWorld.h"

#include "host/join/ZipPreview.h"

#include <cmath>
#include <sstream>

namespace tov::test {
namespace {

// The count the preview prints for its one code ("-1" when no line has it).
long PreviewedCount(const std::string& previewOutput, const std::string& code) {
  std::istringstream lines(previewOutput);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(code + "\t", 0) == 0) return std::stol(line.substr(code.size() + 1));
  return -1;
}

TEST_F(ZipMethodTest, ThePreviewCountsEachCodeAsTheStudyAreaTakesIt) {
  // One 0.1 degree square per code, in a row.
  const std::vector<std::string> codes = {"AB1", "AC1", "AD2", "xy9", "XZ9", "A_1"};
  UseSettings({{"NumericZips", "False"}, {"ValueLength", "3"}, {"NumericPrefixLeastLength", "1"}}, codes);
  const double square = ZipSquare("AB1", codes)->Area();

  int made = 0;
  long total = 0;
  for (const std::string typed : {"ab1", "A_1", "a__", "x%", "AD2", "xZ%", "Q%"}) {
    std::ostringstream out, err;
    ASSERT_TRUE(PreviewZipCodes(*analysis, typed, out, err)) << typed << ": " << err.str();
    const long previewed = PreviewedCount(out.str(), typed);

    auto presenter = UseZipScript(ZipTurn(typed) + "," + NameTurn("Area " + std::to_string(++made)));
    long taken = 0;
    if (RunAll().Stored()) {
      auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
      ASSERT_TRUE(stored) << typed;
      // The squares are of equal area in the equal-area analysis system.
      taken = std::lround(stored->Area() / square);
    } else {
      EXPECT_EQ(presenter->Messages().size(), 1u) << typed << ": only the empty area's refusal";
    }
    EXPECT_EQ(previewed, taken) << typed << "\n" << out.str();
    total += taken;
  }
  // More than exact matches would take ("A_1" alone takes three, whatever
  // the data source's letter case rule).
  EXPECT_GE(total, 5);
}

} // namespace
} // namespace tov::test
