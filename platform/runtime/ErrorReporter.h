#pragma once
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// What a failure trap reports to: the host's error handler implements it.
class ErrorReporter : public virtual Object {
public:
  virtual void ReportError(const std::string& location, long number, const std::string& source,
                           const std::string& description) = 0;
};

using ErrorReporterPtr = std::shared_ptr<ErrorReporter>;

} // namespace tov
