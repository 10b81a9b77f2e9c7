#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/ErrorReporter.h"
#include "platform/runtime/Variant.h"

#include <string>

namespace tov {

// The host's error handler: ReportError writes one line to the analysis log
// (and shows it when "Debug" is True). Known properties: "Debug" (Boolean),
// "Module Name" (text).
class ErrorHandler : public virtual ErrorReporter {
public:
  virtual void SetProperty(const std::string& name, const Variant& value) = 0;
};

using ErrorHandlerPtr = std::shared_ptr<ErrorHandler>;

} // namespace tov
