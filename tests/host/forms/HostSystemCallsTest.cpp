#include "host/forms/HostSystemCalls.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(HostSystemCallsTest, LocaleComesFromTheFirstSetVariableAndUnknownOnesAreEnglish) {
  using Calls = HostSystemCalls;
  EXPECT_EQ(std::make_tuple(Calls::LocaleFromEnvironment("ru_RU.UTF-8", "de_DE.UTF-8", "ja_JP"),
                            Calls::LocaleFromEnvironment("", "de_DE.UTF-8", "ja_JP"),
                            Calls::LocaleFromEnvironment(nullptr, nullptr, "zh_TW.Big5"),
                            Calls::LocaleFromEnvironment(nullptr, nullptr, nullptr)),
            std::make_tuple(1049u, 1031u, 1028u, 1033u));
  for (const auto& [name, locale] : {std::pair{"C", 1033u}, {"fr_FR.UTF-8", 1033u}, {"en_GB.UTF-8@euro", 2057u}})
    EXPECT_EQ(Calls::LocaleFromName(name), locale) << name;
}

TEST(HostSystemCallsTest, AnsiCodePagesOfTheKnownLocales) {
  struct Case {
    const char* name;
    uint32_t locale;
    int codePage;
  } cases[] = {{"ru_RU", 1049, 1251}, {"pl_PL", 1045, 1250}, {"el_GR", 1032, 1253}, {"tr_TR", 1055, 1254},
               {"he_IL", 1037, 1255}, {"ar_SA", 1025, 1256}, {"lt_LT", 1063, 1257}, {"de_DE", 1031, 1252},
               {"ja_JP", 1041, 932},  {"zh_CN", 2052, 936},  {"ko_KR", 1042, 949},  {"zh_TW", 1028, 950},
               {"en_PH", 13321, 1252}};
  for (const Case& c : cases) {
    EXPECT_EQ(HostSystemCalls::LocaleFromName(c.name), c.locale) << c.name;
    EXPECT_EQ(HostSystemCalls::AnsiCodePageOf(c.locale), c.codePage) << c.name;
  }
}

TEST(HostSystemCallsTest, LocaleInfoIsWrittenWithItsNulAndNeverPastTheBuffer) {
  HostSystemCalls sys;
  std::string buffer(16, 'x');
  EXPECT_EQ(sys.GetLocaleInfoA(1049, LOCALE_IDEFAULTANSICODEPAGE, buffer), 5);
  EXPECT_EQ(buffer, std::string("1251\0", 5) + std::string(11, 'x'));
  std::string tiny(3, 'x');
  EXPECT_EQ(sys.GetLocaleInfoA(1049, LOCALE_IDEFAULTANSICODEPAGE, tiny), 0);
  EXPECT_EQ(tiny, "xxx");
  EXPECT_EQ(sys.GetLocaleInfoA(9999, LOCALE_IDEFAULTANSICODEPAGE, buffer), 0);
}

TEST(HostSystemCallsTest, VirtualScreenWithTheHostWindowCentred) {
  HostSystemCalls sys;
  EXPECT_EQ(std::make_tuple(sys.ScreenWidth(), sys.ScreenHeight(), sys.TwipsPerPixelX()),
            std::make_tuple(1920.0f * 15, 1080.0f * 15, 15));
  EXPECT_GT(sys.GetSystemMetrics(SM_CYCAPTION), 0);
  WindowRect r;
  ASSERT_TRUE(sys.GetWindowRect(HostSystemCalls::kHostWindow, r));
  EXPECT_EQ(std::make_tuple(r.Left + r.Right, r.Top + r.Bottom), std::make_tuple(1920L, 1080L));
  EXPECT_FALSE(sys.GetWindowRect(12345, r));
}

TEST(HostSystemCallsTest, HelpOpensTheTopicPageOfTheResources) {
  HostSystemCalls sys(std::string(TOVANA_SOURCE_ROOT) + "/resources/help");
  std::string shown;
  sys.SetHelpViewer([&](const std::string& path) { shown = path; });
  EXPECT_TRUE(sys.WinHelpA(0, "orva_csTovana.hlp>notes", kHelpTopicCommand, "ABOUT_CREATE_STUDY_AREA"));
  EXPECT_EQ(shown, std::string(TOVANA_SOURCE_ROOT) + "/resources/help/ABOUT_CREATE_STUDY_AREA.html");
  shown.clear();
  EXPECT_FALSE(sys.WinHelpA(0, "orva_csTovana.hlp>notes", kHelpTopicCommand, "NO_SUCH_TOPIC"));
  EXPECT_FALSE(sys.WinHelpA(0, "orva_csTovana.hlp>notes", kHelpTopicCommand, "../strings"));
  EXPECT_TRUE(shown.empty());
}

} // namespace
} // namespace tov
