#pragma once
#include "platform/runtime/HostError.h"

#include <string>

namespace tov {

// SQLite failures at the host boundary: number 3000 + the primary result
// code (3005 busy, 3008 read-only, 3019 constraint, ...), source "SQLite".
constexpr long kSqliteErrorBase = 3000;
HostError SqliteError(int resultCode, const std::string& description);

} // namespace tov
