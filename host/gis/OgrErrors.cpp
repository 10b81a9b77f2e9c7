#include "host/gis/GisErrors.h"

#include <cpl_error.h>
#include <ogr_core.h>

namespace tov {

namespace {
// Keeps the last message for CPLGetLastErrorMsg without printing to stderr:
// every failure reaches the user as a HostError instead.
void CPL_STDCALL QuietHandler(CPLErr, CPLErrorNum, const char*) {}

std::string OgrErrText(int err) {
  switch (err) {
  case OGRERR_NOT_ENOUGH_DATA: return "the data is incomplete";
  case OGRERR_NOT_ENOUGH_MEMORY: return "there is not enough memory";
  case OGRERR_UNSUPPORTED_GEOMETRY_TYPE: return "the geometry type is not supported here";
  case OGRERR_UNSUPPORTED_OPERATION: return "the operation is not supported by this format";
  case OGRERR_CORRUPT_DATA: return "the data is corrupt";
  case OGRERR_UNSUPPORTED_SRS: return "the coordinate system is not supported";
  case OGRERR_INVALID_HANDLE: return "the dataset is not open";
  case OGRERR_NON_EXISTING_FEATURE: return "the feature does not exist";
  default: return "the operation failed";
  }
}
} // namespace

void InstallGisErrorHandlers() {
  CPLSetErrorHandler(QuietHandler);
}

void ResetOgrError() { CPLErrorReset(); }

void ThrowOgrError(long number, const std::string& source, const std::string& what) {
  std::string description = what;
  const char* msg = CPLGetLastErrorMsg();
  if (msg && *msg) description += " (" + std::string(msg) + ")";
  CPLErrorReset();
  throw HostError(number, source, description);
}

void CheckOgr(int ogrErr, const std::string& source, const std::string& what) {
  if (ogrErr == OGRERR_NONE) return;
  ThrowOgrError(gisErr::DataAccess, source, what + ": " + OgrErrText(ogrErr));
}

} // namespace tov
