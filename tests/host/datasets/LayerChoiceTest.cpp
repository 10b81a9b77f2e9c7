// The layer and field choices of `datasets create` and its EPSG codes.
#include "Errors.h"

#include "host/datasets/LayerChoice.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

using test::ErrorOf;

std::string Refusal(const std::string& text, FieldPart part) {
  return ErrorOf([&] { ParseLayerChoice(text, "--codes", part); }).description;
}

TEST(LayerChoiceTest, TheFieldFollowsTheLastColonAndBlanksAroundGo) {
  const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
      {"counties", {"counties", ""}},         {"counties:LABEL", {"counties", "LABEL"}},
      {" zip areas : ZIP ", {"zip areas", "ZIP"}}, {"roads:2020:", {"roads:2020", ""}},
      {"a:b:c", {"a:b", "c"}},                {"Gemeinden:Name äöü", {"Gemeinden", "Name äöü"}}};
  for (const auto& [text, expected] : cases) {
    const LayerChoice choice = ParseLayerChoice(text, "--regions", FieldPart::Optional);
    EXPECT_EQ(choice.layer + "|" + choice.field, std::string(expected.first) + "|" + expected.second) << text;
  }
  // A context layer takes no field: its colons are its own.
  EXPECT_EQ(ParseLayerChoice("roads:2020", "--context", FieldPart::None).layer, "roads:2020");
}

TEST(LayerChoiceTest, RefusalsNameTheOptionAndTheForm) {
  const std::tuple<std::string, FieldPart, const char*> cases[] = {
      {"zip_areas", FieldPart::Required, "--codes: no field is named"},
      {"zip_areas:", FieldPart::Required, "LAYER:FIELD"}, {":ZIP", FieldPart::Required, "no layer is named"},
      {"  ", FieldPart::Optional, "no layer is named"}, {"zip\nareas:ZIP", FieldPart::Required, "control character"},
      {std::string(2000, 'x'), FieldPart::Optional, "longer than"}};
  for (const auto& [text, part, refusal] : cases) EXPECT_TRUE(test::Has(Refusal(text, part), refusal)) << text;
}

TEST(LayerChoiceTest, ProjectionsAreAutoOrEpsgCodes) {
  for (const auto& [text, code] : {std::pair{"auto", 0}, {" AUTO ", 0}, {"EPSG:27700", 27700}, {"epsg:5070", 5070}})
    EXPECT_EQ(ParseProjection(text), code) << text;
  EXPECT_EQ(ParseEpsgCode("EPSG: 4326", "--assume-srs"), 4326);
  for (const char* bad : {"", "EPSG:", "EPSG:0", "EPSG:-5", "EPSG:12x", "27700", "ESRI:102003", "EPSG:1234567890"})
    EXPECT_TRUE(test::Has(ErrorOf([&] { ParseProjection(bad); }).description, "--projection")) << bad;
}

} // namespace
} // namespace tov
