#pragma once
#include "platform/runtime/ErrorReporter.h"
#include "platform/runtime/HostError.h"

#include <exception>
#include <new>
#include <optional>
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

// Runs body and hands its failure back as the pending error instead of
// reporting it: for a caller that shows the failure itself, passes it on
// after tidying up, or takes it as an answer. No failure: no error.
template <class F>
std::optional<HostError> FailureOf(F&& body) {
  try {
    std::forward<F>(body)();
    return std::nullopt;
  } catch (...) {
    return PendingError(std::current_exception());
  }
}

// The failure message: the error's description in a plain message box.
void ShowFailureMessage(const HostError& e);

// Runs body under a trap that ends in the failure message, for a dialog's
// buttons, which have no caller to report to. False when the body failed.
template <class F>
bool TrapMessage(F&& body) {
  const std::optional<HostError> failure = FailureOf(std::forward<F>(body));
  if (failure) ShowFailureMessage(*failure);
  return !failure;
}

} // namespace tov
