#pragma once
#include "platform/runtime/HostError.h"

#include <string>

typedef struct GEOSContextHandle_HS* GEOSContextHandle_t;

namespace tov {

// Error numbers of the GIS host, beyond the platform's own (5, 53, 76 ...).
namespace gisErr {
constexpr long DataAccess = 4001;       // reading or writing a dataset failed
constexpr long DatasetNotFound = 4002;  // a feature class or workspace is missing
constexpr long DatasetExists = 4003;    // creating something that is already there
constexpr long IndexExists = 4004;      // the class already has this index
constexpr long GeometryFailed = 4010;   // a geometry operation was refused
constexpr long UnknownCoordSys = 4020;  // no coordinate system with this code
constexpr long ProjectionFailed = 4021; // coordinates could not be transformed
constexpr long NoSpatialReference = 4022;
constexpr long DocumentFormat = 4030;   // a document or layer file cannot be read
} // namespace gisErr

// The OGR/CPL bridge. Each adds the library's own last message to what, so
// the user sees both what we tried and why the library refused.
[[noreturn]] void ThrowOgrError(long number, const std::string& source, const std::string& what);
// Throws when err is not OGRERR_NONE.
void CheckOgr(int ogrErr, const std::string& source, const std::string& what);
// Clears the library's last error before a call whose failure we test.
void ResetOgrError();

// The GEOS bridge: one context for the host, whose messages are kept so a
// failure can say why.
GEOSContextHandle_t GeosHandle();
std::string GeosLastMessage();
void ResetGeosMessage();
[[noreturn]] void ThrowGeosError(const std::string& source, const std::string& what);

// The PROJ bridge (coordinate systems and transformations, reached through
// OGR's spatial references).
[[noreturn]] void ThrowProjError(long number, const std::string& source, const std::string& what);

// Installs the library error handlers (quiet: failures surface as HostError).
void InstallGisErrorHandlers();

} // namespace tov
