#pragma once
#include "platform/runtime/HostError.h"

#include <exception>
#include <functional>
#include <string>

namespace tov {

// The JSON library at the host boundary: its failures (a text that is not
// JSON, a value of another type, text that is not UTF-8) become HostErrors
// here and nowhere else. refusal turns the library's own words into the
// error the caller raises, naming what it was reading.
using JsonRefusal = std::function<HostError(const std::string& reason)>;

// Rethrows failure: a HostError and running out of memory as they are, any
// other failure of the library (or of the standard library beneath it) as
// refusal(its words).
[[noreturn]] void ThrowJsonError(std::exception_ptr failure, const JsonRefusal& refusal);

} // namespace tov
