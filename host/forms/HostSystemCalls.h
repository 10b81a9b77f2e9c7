#pragma once
#include "platform/forms/SystemCalls.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace tov {

// The system calls on Linux. The user's locale comes from LC_ALL, then
// LC_MESSAGES, then LANG (the first that is set and not empty); a locale this
// table does not know counts as English (United States). The screen is a
// virtual 1920 x 1080 pixels at 15 twips per pixel, with the host window
// centred on it; a GUI front end replaces both with the real ones.
class HostSystemCalls : public SystemCalls {
public:
  // Reads the locale from the environment now; help pages are looked up in
  // helpFolder (native path), by default <resources>/help.
  explicit HostSystemCalls(std::string helpFolder = std::string());

  uint32_t GetThreadLocale() override;
  int GetLocaleInfoA(uint32_t locale, uint32_t lcType, std::string& buffer) override;
  int GetSystemMetrics(int index) override;
  float ScreenWidth() override;
  float ScreenHeight() override;
  int TwipsPerPixelX() override;
  int TwipsPerPixelY() override;
  bool GetWindowRect(long hWnd, WindowRect& rect) override;
  bool WinHelpA(long hWnd, const std::string& helpFile, uint32_t command, const std::string& data) override;

  // The locale identifier of a POSIX locale name such as "ru_RU.UTF-8";
  // 1033 for "C", "POSIX", "" and every name the table lacks.
  static uint32_t LocaleFromName(const std::string& name);
  // The first non-empty of the three, as the C library chooses.
  static uint32_t LocaleFromEnvironment(const char* lcAll, const char* lcMessages, const char* lang);
  // The default ANSI code page of a locale identifier, 0 when unknown.
  static int AnsiCodePageOf(uint32_t locale);

  void SetLocale(uint32_t locale) { m_locale = locale; }
  // The screen in pixels and its twips per pixel.
  void SetScreen(long widthPixels, long heightPixels, int twipsPerPixel);
  // A window the host knows: the host's main window, or a front end's dialog.
  void SetWindowRect(long hWnd, const WindowRect& rect);
  // The folder of the help pages (native path); a front end that moves the
  // resources (SetResourceRoot) points this at <resources>/help.
  void SetHelpFolder(const std::string& nativeFolder) { m_helpFolder = nativeFolder; }
  const std::string& HelpFolder() const { return m_helpFolder; }
  // Where help is shown: given the native path of the page. Default: prints
  // "Help: <path>" on standard output.
  void SetHelpViewer(std::function<void(const std::string& nativePath)> viewer) { m_viewer = std::move(viewer); }
  // The page the last WinHelpA call opened ("" before any).
  const std::string& LastHelpPage() const { return m_lastHelpPage; }

  // The host window's handle on the virtual screen: the handle that a host
  // application without a real window reports.
  static constexpr long kHostWindow = 0;

private:
  uint32_t m_locale;
  long m_screenWidth = 1920, m_screenHeight = 1080;
  int m_twipsPerPixel = 15;
  std::map<long, WindowRect> m_windows;
  std::string m_helpFolder;
  std::function<void(const std::string&)> m_viewer;
  std::string m_lastHelpPage;
};

using HostSystemCallsPtr = std::shared_ptr<HostSystemCalls>;

} // namespace tov
