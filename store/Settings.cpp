#include "store/Settings.h"

#include "platform/forms/Form.h"
#include "platform/forms/SystemCalls.h"
#include "platform/runtime/HostError.h"

#include <cmath>

namespace tov {

namespace {

// The screen's twips per pixel, read once for the life of the component.
int32_t g_twipsPerPixelX = 0;
int32_t g_twipsPerPixelY = 0;

void EnsureTwipsPerPixel() {
  if (g_twipsPerPixelX != 0 && g_twipsPerPixelY != 0) return;
  SystemCallsPtr sys = GetSystemCalls();
  g_twipsPerPixelX = sys->TwipsPerPixelX();
  g_twipsPerPixelY = sys->TwipsPerPixelY();
}

// The integer part of half the spare room (towards zero).
float HalfOf(double spare) { return static_cast<float>(std::trunc(spare / 2)); }

} // namespace

TovExtensionPtr GetTovExtension(const HostApplicationPtr& application) {
  if (!application)
    throw HostError(err::ObjectVariableNotSet, "GetTovExtension", "There is no host application to find the extension in");
  return As<TovExtension>(application->FindExtension(kTovExtensionProgId));
}

void SaveFormPosition(const std::shared_ptr<Form>& form, const TaskPropertySetPtr& propertySet) {
  if (!propertySet || !form) return;
  propertySet->SetProperty(kFormLeft, Variant(form->Left()));
  propertySet->SetProperty(kFormTop, Variant(form->Top()));
  propertySet->SetProperty(kFormWidth, Variant(form->Width()));
  propertySet->SetProperty(kFormHeight, Variant(form->Height()));
}

void RestoreFormPosition(const std::shared_ptr<Form>& form, const HostApplicationPtr& application,
                         const TaskPropertySetPtr& propertySet, bool centre) {
  if (!form || form->WindowState() == vbws::Maximized) return;
  EnsureTwipsPerPixel();
  SystemCallsPtr sys = GetSystemCalls();
  try {
    if (!propertySet) throw HostError(err::ObjectVariableNotSet, "RestoreFormPosition", "no property set");
    float left = static_cast<float>(propertySet->GetProperty(kFormLeft).ToLong());
    float top = static_cast<float>(propertySet->GetProperty(kFormTop).ToLong());
    form->Move(left, top);
    if (centre) {
      int32_t height = propertySet->GetProperty(kFormHeight).ToLong();
      int32_t width = propertySet->GetProperty(kFormWidth).ToLong();
      left += HalfOf(static_cast<double>(width) - form->Width());
      top += HalfOf(static_cast<double>(height) - form->Height());
    }
    float screenWidth = sys->ScreenWidth(), screenHeight = sys->ScreenHeight();
    if (left + form->Width() > screenWidth) left = screenWidth - form->Width();
    if (top + form->Height() > screenHeight) top = screenHeight - form->Height();
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    form->Move(left, top);
  } catch (...) {
    // First run: no saved position. Centre over the host's window, or over
    // the screen when the window cannot be found; nothing is reported.
    try {
      double rl = 0, rt = 0, rw = sys->ScreenWidth(), rh = sys->ScreenHeight();
      WindowRect r;
      if (application && sys->GetWindowRect(static_cast<long>(application->hWnd()), r)) {
        rl = static_cast<double>(r.Left) * g_twipsPerPixelX;
        rt = static_cast<double>(r.Top) * g_twipsPerPixelY;
        rw = static_cast<double>(r.Right - r.Left) * g_twipsPerPixelX;
        rh = static_cast<double>(r.Bottom - r.Top) * g_twipsPerPixelY;
      }
      form->Move(static_cast<float>(rl) + HalfOf(rw - form->Width()), static_cast<float>(rt) + HalfOf(rh - form->Height()));
    } catch (...) {
    }
  }
}

} // namespace tov
