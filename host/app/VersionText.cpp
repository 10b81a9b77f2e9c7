#include "host/app/VersionText.h"

#include <gdal.h>
#include <geos_c.h>
#include <proj.h>
#include <sqlite3.h>

namespace tov {

std::string VersionText(const std::string& programVersion, const std::string& qtVersion) {
  std::string geos = GEOSversion();
  geos = geos.substr(0, geos.find("-CAPI")); // "3.11.1-CAPI-1.17.1": the C API's own number means nothing here
  return "tovana " + programVersion + "\n" +                          //
         "GDAL " + GDALVersionInfo("RELEASE_NAME") + "\n" +         //
         "GEOS " + geos + "\n" +                                     //
         "PROJ " + proj_info().version + "\n" +                      //
         "SQLite " + sqlite3_libversion() + "\n" +                   //
         "Qt " + qtVersion;
}

} // namespace tov
