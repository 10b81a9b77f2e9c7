#include "host/gis/GisErrors.h"

#include <cpl_error.h>
#include <proj.h>

namespace tov {

void ThrowProjError(long number, const std::string& source, const std::string& what) {
  std::string description = what;
  // PROJ reports through GDAL's error stack when reached through OGR, and
  // through its own context otherwise.
  const char* msg = CPLGetLastErrorMsg();
  if (msg && *msg) {
    description += " (" + std::string(msg) + ")";
  } else if (int e = proj_context_errno(nullptr)) {
    description += " (" + std::string(proj_context_errno_string(nullptr, e)) + ")";
  }
  CPLErrorReset();
  throw HostError(number, source, description);
}

} // namespace tov
