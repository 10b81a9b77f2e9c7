#include "host/framework/SqliteErrors.h"

namespace tov {

HostError SqliteError(int resultCode, const std::string& description) {
  return HostError(kSqliteErrorBase + (resultCode & 0xFF), "SQLite", description);
}

} // namespace tov
