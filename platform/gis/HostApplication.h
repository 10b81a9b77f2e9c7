#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>

namespace tov {

// The running application: the open document, the main window and the
// extensions loaded into it.
class HostApplication : public virtual Object {
public:
  virtual MapDocumentPtr Document() const = 0;
  // The main window handle (0 without a window).
  virtual int64_t hWnd() const = 0;
  // The extension registered under identifier (a ProgID or a class id,
  // compared without regard to case), or an empty pointer.
  virtual ObjectPtr FindExtension(const std::string& identifier) const = 0;
};

using HostApplicationPtr = std::shared_ptr<HostApplication>;

} // namespace tov
