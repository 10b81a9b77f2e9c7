// The direct JSON reader gives exactly json::parse's value (types of numbers
// included) or leaves the text to it, so that every refusal keeps
// json::parse's message; so does the view of a text, and a repeated key
// found in it is the one json::parse keeps; the direct writer writes dump()'s text or leaves
// the value to it; and both take what the host itself writes.
#include "GisTestSupport.h"

#include "host/gis/GisApplication.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/DirectJson.h"
#include "host/gis/JsonView.h"
#include "host/gis/LayerJson.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace tov::test {
namespace {

using nlohmann::json;

// Same text when written, which tells 1 from 1.0 and -0 from 0.
void ExpectSameAsJsonParse(const std::string& text) {
  SCOPED_TRACE(text);
  std::string expected, got;
  try {
    expected = json::parse(text).dump();
  } catch (const json::exception& e) {
    expected = std::string("refused: ") + e.what();
  }
  try {
    got = ParseJson(text).dump();
  } catch (const json::exception& e) {
    got = std::string("refused: ") + e.what();
  }
  EXPECT_EQ(got, expected);
  try {
    got = JsonView(text).Root().Tree().dump();
  } catch (const json::exception& e) {
    got = std::string("refused: ") + e.what();
  }
  EXPECT_EQ(got, expected) << "the view";
  const json discarded = ParseJsonOrDiscarded(text);
  EXPECT_EQ(discarded.is_discarded(), expected.rfind("refused: ", 0) == 0);
}

TEST(DirectJsonTest, ValuesAndRefusalsAreThoseOfJsonParse) {
  for (const char* text : {
           // values, nesting, blanks, a repeated key (the last one counts)
           R"({"b":[1,2,{"c":null}],"a":true,"e":false,"d":"x"})", " \t\r\n[ ] ", "{}", "[[[[]]]]",
           R"({"k":1,"k":{"x":2}})", R"({"z":1,"a":2,"m":3})",
           // numbers: integers signed and not, too large for either, fractions, exponents
           "0", "-0", "-0.0", "17", "-17", "18446744073709551615", "18446744073709551616", "-9223372036854775808",
           "-9223372036854775809", "0.1", "2.5e3", "1E-2", "1e+2", "4.0", "1e308", "1e-400",
           // strings: escapes, UTF-8 (two to four bytes), \u escapes with and without surrogates
           R"("a\"b\\c\/d\b\f\n\r\t")", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"", R"("\u00e9\ud83d\ude00")",
           "\xEF\xBB\xBF{\"bom\":1}",
           // refused: each by json::parse, with its message
           "", " ", "{", "[1,]", "{\"a\":1,}", "{\"a\" 1}", "{a:1}", "01", "-", "1.", ".5", "1e", "+1", "1e400",
           "-1e400", "tru", "nulls", "[1] 2", "\"open", "\"tab\there\"", "\"\\x\"", "\"\\ud83d\"", "\"\xC3\"",
           "\"\xC0\x80\"", "\"\xED\xA0\x80\"", "\"\xF4\x90\x80\x80\"", "\"\xE0\x9F\xBF\"", "\"\xF0\x8F\xBF\xBF\""})
    ExpectSameAsJsonParse(text);
  // Deeper than the direct reader goes.
  ExpectSameAsJsonParse(std::string(300, '[') + std::string(300, ']'));
  ExpectSameAsJsonParse(std::string(300, '[') + std::string(299, ']'));
}

TEST(DirectJsonTest, TheViewFindsMembersAndItems) {
  for (const std::string text : {R"({"k":1,"a":[true,"x\ty"],"k":{"z":2.5}})",
                                 R"({"k":1,"a":[true,"x\u0009y"],"k":{"z":2.5}})"}) {
    SCOPED_TRACE(text);
    const JsonView view(text);
    const JsonValue& root = view.Root();
    ASSERT_TRUE(root.is_object());
    ASSERT_NE(root.Find("k"), nullptr);
    EXPECT_EQ(root.Find("k")->Find("z")->Number(), 2.5);
    EXPECT_EQ(root.Find("missing"), nullptr);
    const JsonValue& a = *root.Find("a");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_TRUE(a[0].Bool());
    EXPECT_EQ(a[1].Text(), "x\ty");
    EXPECT_EQ(a[1].Find("x"), nullptr);
  }
}

// The same text as dump(), or the same exception.
void ExpectSameAsDump(const json& value) {
  SCOPED_TRACE(value.is_string() ? "a text" : value.type_name());
  std::string expected, got;
  try {
    expected = value.dump();
  } catch (const json::exception& e) {
    expected = std::string("refused: ") + e.what();
  }
  try {
    got = WriteJson(value);
  } catch (const json::exception& e) {
    got = std::string("refused: ") + e.what();
  }
  EXPECT_EQ(got, expected);
}

TEST(DirectJsonTest, TextsAreThoseOfDump) {
  ExpectSameAsDump(json::parse(R"({"b":[1,-2,{"c":null}],"a":true,"e":false,"d":"x","f":{},"g":[]})"));
  for (double number : {0.0, -0.0, 4.0, 0.1, 1.0 / 3, 1e20, 1e-7, -2.5e-300, 123456789012345680000.0, 1e16, 1e15,
                        0.0174532925199433, std::nan(""), HUGE_VAL})
    ExpectSameAsDump(json{{"n", number}});
  ExpectSameAsDump(json::array({json::number_integer_t(-9223372036854775807 - 1), json::number_unsigned_t(-1)}));
  for (const char* text : {"plain", "quote \" and \\ and /", "\b\f\n\r\t \x01\x1f\x7f",
                           "caf\xC3\xA9 \xF0\x9F\x98\x80", "\xC3", "\xED\xA0\x80", "ok \xFF"})
    ExpectSameAsDump(json{{text, text}});
  ExpectSameAsDump(json::binary({1, 2, 3}));
}

using DirectJsonFileTest = GisTest;

// What the host writes is written as dump() writes its value (members in
// the order of their keys): marks compare texts, and a file saved again
// unchanged is the same file.
void ExpectWrittenAsDump(const std::string& text) {
  json direct;
  ASSERT_TRUE(ParseJsonDirectly(text, direct));
  EXPECT_EQ(direct.dump(), json::parse(text).dump());
  std::string written;
  ASSERT_TRUE(WriteJsonDirectly(direct, written));
  EXPECT_EQ(written, text);
}

TEST_F(DirectJsonFileTest, TheHostsOwnDocumentAndLayerFilesAreWrittenAsDumpWritesThem) {
  GisApplication app;
  MapPtr map = app.Document()->FocusMap();
  map->SetSpatialReference(Geographic(4326));
  auto plain = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  plain->SetName("Caf\xC3\xA9 \"Nord\"");
  FeatureLayerPtr squares = SquaresLayer({"a", "b"}, "data");
  squares->SetDataSourceRelativeBase(Platform("data"));
  std::dynamic_pointer_cast<HostFeatureLayer>(squares)->SetScaleRange(500000, 1000);
  map->AddLayer(GroupOf("Group", {plain, squares}));
  AddGraphic(map, Square(0, 0, 1), CreateAs<LineSymbol>("orvaCore.SimpleLineSymbol"));
  AddGraphic(map, Square(2, 0, 1), CreateAs<MarkerSymbol>("orvaCore.SimpleMarkerSymbol"));
  AddGraphic(map, Square(4, 0, 1), CreateAs<FillSymbol>("orvaCore.SimpleFillSymbol"));
  app.Document()->ActiveView()->SetExtent(Box(-1, -1, 5, 2, map->SpatialReference()));
  app.SaveDocument(Platform("document.json"));
  ExpectWrittenAsDump(ReadText(Native("document.json")));
  SaveLayerFile(squares, Platform("squares.lyr"));
  ExpectWrittenAsDump(ReadText(Native("squares.lyr")));
}

} // namespace
} // namespace tov::test
