#include "Errors.h"
#include "host/framework/HostEnvironment.h"
#include "host/framework/ResourceComponent.h"
#include "host/framework/ResourceTable.h"
#include "host/common/Paths.h"
#include "Prelude.h"

namespace tov {
namespace {

// Text ids the component and the host look up.
const int kTextIds[] = {101, 107, 112, 113, 125, 126, 127, 128, 135, 167, 168, 174, 175, 176, 177, 178,
                        179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191};

// Layout blocks: base id and the number of controls laid out after the two
// form values.
const struct { int base; int controls; } kLayoutBlocks[] = {
    {100, 5},  {200, 6},  {300, 2},  {400, 7},  {500, 7},   {600, 10},  {700, 14},
    {800, 8},  {900, 12}, {1000, 8}, {1100, 12}, {1200, 8}};

TEST(ResourcesTest, EveryTextIdInUseHasAText) {
  TextResources texts;
  for (int id : kTextIds) EXPECT_FALSE(texts.FindString(std::to_string(id)).empty()) << id;
  // Texts joined to a name keep the blank that separates them.
  EXPECT_EQ(texts.FindString("175").front(), ' ');
  EXPECT_EQ(texts.FindString("189").back(), ' ');
  for (int id : {181, 184, 190, 191}) EXPECT_NE(texts.FindString(std::to_string(id)).find("%1"), std::string::npos);
}

TEST(ResourcesTest, EveryLayoutBlockIsCompleteWithPositiveSizes) {
  GuiResources layout;
  for (const auto& block : kLayoutBlocks) {
    int last = block.base + 1 + 4 * block.controls;
    for (int id = block.base; id <= last; ++id) {
      std::string value = layout.FindString(std::to_string(id));
      ASSERT_FALSE(value.empty()) << "layout id " << id;
      double number = std::stod(value);
      bool isPosition = id >= block.base + 2 && ((id - block.base - 2) % 4 == 1 || (id - block.base - 2) % 4 == 2);
      EXPECT_TRUE(isPosition ? number >= 0 : number > 0) << "layout id " << id;
    }
  }
}

TEST(ResourcesTest, UnknownIdsGiveEmptyTextAndBlanksAroundAnIdAreIgnored) {
  TextResources texts;
  EXPECT_EQ(texts.FindString("99999"), "");
  EXPECT_EQ(texts.FindString(""), "");
  EXPECT_EQ(texts.FindString(" 187 "), texts.FindString("187"));
  EXPECT_EQ(texts.FindCursor("101"), nullptr); // only the layout component has cursors
}

TEST(ResourcesTest, CursorsAndTheClockAnimationAreThere) {
  GuiResources layout;
  for (const char* id : {"101", "102", "103"}) {
    ResourcePicturePtr cursor = layout.FindCursor(id);
    ASSERT_TRUE(cursor) << id;
    EXPECT_TRUE(std::filesystem::exists(ToNativePath(cursor->Path())));
  }
  EXPECT_EQ(layout.FindCursor("104"), nullptr);
  EXPECT_EQ(layout.FindCursor("../strings"), nullptr);
  EXPECT_TRUE(std::filesystem::exists(ResourceRoot() + "/clock.gif"));
  EXPECT_TRUE(std::filesystem::exists(ResourceRoot() + "/help/ABOUT_CREATE_STUDY_AREA.html"));
}

TEST(ResourcesTest, TableSyntax) {
  ResourceMap table = ParseResourceTable("# note\n\n7\tOne\\nTwo\tnote\n8\tback\\\\slash \n", "t");
  EXPECT_EQ(table["7"], "One\r\nTwo");
  EXPECT_EQ(table["8"], "back\\slash ");
  EXPECT_THROW(ParseResourceTable("7\ta\n7\tb\n", "t"), HostError);
  EXPECT_THROW(ParseResourceTable("no tab here\n", "t"), HostError);
}

TEST(ResourcesTest, AMissingTableIsAnErrorThatSaysWhereToLook) {
  std::string saved = ResourceRoot();
  SetResourceRoot("/nonexistent-resources");
  const test::Raised missing = test::ErrorOf([] { TextResources().FindString("101"); });
  EXPECT_TRUE(test::Has(missing.description, "TOVANA_RESOURCES")) << "raised: " << missing.raised;
  SetResourceRoot(saved);
}

} // namespace
} // namespace tov
