#pragma once
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>

namespace tov {

// A window rectangle in pixels.
struct WindowRect {
  long Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The operating-system calls the pages make, implemented by the host.
class SystemCalls : public virtual Object {
public:
  // The user's locale identifier (1033 English (United States), ...).
  virtual uint32_t GetThreadLocale() = 0;
  // Writes the locale's information of type lcType (4100: default ANSI code
  // page) into buffer as text followed by a character 0, never past
  // buffer.size(); returns the characters written with the 0, or 0 when the
  // locale or type is unknown (buffer untouched).
  virtual int GetLocaleInfoA(uint32_t locale, uint32_t lcType, std::string& buffer) = 0;
  // System metrics; 4 is the height of a window caption in pixels.
  virtual int GetSystemMetrics(int index) = 0;
  // The screen: size in twips and twips per pixel.
  virtual float ScreenWidth() = 0;
  virtual float ScreenHeight() = 0;
  virtual int TwipsPerPixelX() = 0;
  virtual int TwipsPerPixelY() = 0;
  // The rectangle of a window in pixels; false when the handle is unknown.
  virtual bool GetWindowRect(long hWnd, WindowRect& rect) = 0;
  // Opens help: file (with an optional ">window" suffix), command, data.
  virtual bool WinHelpA(long hWnd, const std::string& helpFile, uint32_t command, const std::string& data) = 0;
};

using SystemCallsPtr = std::shared_ptr<SystemCalls>;

constexpr uint32_t LOCALE_IDEFAULTANSICODEPAGE = 4100;
constexpr int SM_CYCAPTION = 4;
// The help command that opens a topic given by its name.
constexpr uint32_t kHelpTopicCommand = 259;

void SetSystemCalls(SystemCallsPtr calls);
// The host's system calls; raises 91 when none have been set.
SystemCallsPtr GetSystemCalls();

} // namespace tov
