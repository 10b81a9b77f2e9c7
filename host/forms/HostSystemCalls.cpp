#include "host/forms/HostSystemCalls.h"

#include "host/common/UserFolders.h"
#include "platform/runtime/HostError.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>

namespace tov {

namespace {

struct LocaleEntry {
  const char* name; // language_TERRITORY
  uint32_t id;
  int codePage;
};

// The locales the component cares about: the English ones keep the designed
// fonts, the others pick the charset (and for East Asia the font) of their
// code page.
const LocaleEntry kLocales[] = {
    {"en_US", 1033, 1252}, {"en_GB", 2057, 1252},  {"en_AU", 3081, 1252},  {"en_CA", 4105, 1252},
    {"en_NZ", 5129, 1252}, {"en_IE", 6153, 1252},  {"en_ZA", 7177, 1252},  {"en_JM", 8201, 1252},
    {"en_029", 9225, 1252}, {"en_BZ", 10249, 1252}, {"en_TT", 11273, 1252}, {"en_ZW", 12297, 1252},
    {"en_PH", 13321, 1252}, {"ru_RU", 1049, 1251},  {"pl_PL", 1045, 1250},  {"el_GR", 1032, 1253},
    {"tr_TR", 1055, 1254}, {"he_IL", 1037, 1255},  {"ar_SA", 1025, 1256},  {"lt_LT", 1063, 1257},
    {"de_DE", 1031, 1252}, {"ja_JP", 1041, 932},   {"zh_CN", 2052, 936},   {"ko_KR", 1042, 949},
    {"zh_TW", 1028, 950},
};

constexpr uint32_t kEnglishUS = 1033;

std::string DefaultHelpFolder() { return DefaultResourceFolder() + "/help"; }

} // namespace

HostSystemCalls::HostSystemCalls(std::string helpFolder)
    : m_locale(LocaleFromEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"))),
      m_helpFolder(helpFolder.empty() ? DefaultHelpFolder() : std::move(helpFolder)) {
  SetScreen(1920, 1080, 15);
}

uint32_t HostSystemCalls::LocaleFromName(const std::string& name) {
  // "ll_TT.codeset@modifier": only language and territory count.
  std::string base = name.substr(0, name.find_first_of(".@"));
  for (const LocaleEntry& e : kLocales)
    if (base == e.name) return e.id;
  return kEnglishUS;
}

uint32_t HostSystemCalls::LocaleFromEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* v : {lcAll, lcMessages, lang})
    if (v && *v) return LocaleFromName(v);
  return kEnglishUS;
}

int HostSystemCalls::AnsiCodePageOf(uint32_t locale) {
  for (const LocaleEntry& e : kLocales)
    if (e.id == locale) return e.codePage;
  return 0;
}

uint32_t HostSystemCalls::GetThreadLocale() { return m_locale; }

int HostSystemCalls::GetLocaleInfoA(uint32_t locale, uint32_t lcType, std::string& buffer) {
  if (lcType != LOCALE_IDEFAULTANSICODEPAGE) return 0;
  int cp = AnsiCodePageOf(locale);
  if (cp == 0) return 0;
  std::string value = std::to_string(cp);
  if (value.size() + 1 > buffer.size()) return 0; // too small: nothing written
  buffer.replace(0, value.size(), value);
  buffer[value.size()] = '\0';
  return static_cast<int>(value.size() + 1);
}

int HostSystemCalls::GetSystemMetrics(int index) {
  switch (index) {
  case 0: return static_cast<int>(m_screenWidth);  // screen width
  case 1: return static_cast<int>(m_screenHeight); // screen height
  case SM_CYCAPTION: return 22;
  default: return 0;
  }
}

float HostSystemCalls::ScreenWidth() { return static_cast<float>(m_screenWidth * m_twipsPerPixel); }
float HostSystemCalls::ScreenHeight() { return static_cast<float>(m_screenHeight * m_twipsPerPixel); }
int HostSystemCalls::TwipsPerPixelX() { return m_twipsPerPixel; }
int HostSystemCalls::TwipsPerPixelY() { return m_twipsPerPixel; }

void HostSystemCalls::SetScreen(long widthPixels, long heightPixels, int twipsPerPixel) {
  if (widthPixels <= 0 || heightPixels <= 0 || twipsPerPixel <= 0)
    throw HostError(5, "HostSystemCalls", "A screen needs a positive size and twips per pixel");
  m_screenWidth = widthPixels;
  m_screenHeight = heightPixels;
  m_twipsPerPixel = twipsPerPixel;
  // The host window: 1280 x 800 (or the whole screen when smaller), centred.
  long w = std::min(1280L, widthPixels), h = std::min(800L, heightPixels);
  WindowRect r;
  r.Left = (widthPixels - w) / 2;
  r.Top = (heightPixels - h) / 2;
  r.Right = r.Left + w;
  r.Bottom = r.Top + h;
  m_windows[kHostWindow] = r;
}

void HostSystemCalls::SetWindowRect(long hWnd, const WindowRect& rect) { m_windows[hWnd] = rect; }

bool HostSystemCalls::GetWindowRect(long hWnd, WindowRect& rect) {
  auto it = m_windows.find(hWnd);
  if (it == m_windows.end()) return false;
  rect = it->second;
  return true;
}

bool HostSystemCalls::WinHelpA(long, const std::string& helpFile, uint32_t, const std::string& data) {
  // Every topic is a page of its own; the help file only names the book.
  (void)helpFile;
  std::string topic = data;
  if (topic.empty() || topic.find_first_of("/\\") != std::string::npos || topic.find("..") != std::string::npos) {
    std::cerr << "Help: no page for the topic \"" << topic << "\"\n";
    return false;
  }
  std::string page = m_helpFolder + "/" + topic + ".html";
  struct stat st {};
  if (stat(page.c_str(), &st) != 0) {
    std::cerr << "Help: the page " << page << " does not exist\n";
    return false;
  }
  m_lastHelpPage = page;
  if (m_viewer) m_viewer(page);
  else std::cout << "Help: " << page << "\n";
  return true;
}

} // namespace tov
