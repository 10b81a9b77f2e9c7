#pragma once
#include "platform/runtime/ErrorReporter.h"
#include "platform/runtime/HostError.h"

#include <exception>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

namespace tov {

// Where a class reports its failures: its error handler and its module path.
struct ErrorSite {
  ErrorReporterPtr handler;
  const char* modulePath = "";
};

// Reports the pending error at "<procedure><module path>".
void ReportFailure(const ErrorSite& site, const char* procedure, const HostError& e);

// Converts whatever escaped a body into the pending error.
HostError PendingError(std::exception_ptr failure);

// Runs body under a failure trap. On a failure the error is reported with the
// location (procedure name, its trailing blank, then the module path) and the
// default result is returned. Nothing already done is undone.
template <class R, class F>
R Trap(const ErrorSite& site, const char* procedure, R defaultResult, F&& body) {
  try {
    return std::forward<F>(body)();
  } catch (...) {
    ReportFailure(site, procedure, PendingError(std::current_exception()));
    return defaultResult;
  }
}

// The void form, for operations without a result.
template <class F>
void Trap(const ErrorSite& site, const char* procedure, F&& body) {
  try {
    std::forward<F>(body)();
  } catch (...) {
    ReportFailure(site, procedure, PendingError(std::current_exception()));
  }
}

} // namespace tov
