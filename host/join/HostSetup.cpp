#include "host/join/HostSetup.h"

#include "host/join/MapListRebuilder.h"
#include "host/join/DrawnAreaRebuilder.h"
#include "host/join/ZipCodesRebuilder.h"
#include "host/forms/RegisterHostFormsClasses.h"
#include "host/framework/RegisterHostFrameworkClasses.h"
#include "host/geocoder/RegisterHostGeocoderClasses.h"
#include "host/gis/RegisterHostGisClasses.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"

#include "component/RegisterComponentClasses.h"

namespace tov {

void RegisterAllHostClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterHostGisClasses();
  RegisterHostFrameworkClasses();
  RegisterHostFormsClasses();
  RegisterHostStudyAreaClasses();
  RegisterHostGeocoderClasses();
  RegisterComponentClasses();
  // Property sheet changes that need the component's own pages and rules.
  RegisterZipCodesRebuilder();
  RegisterMapListRebuilder();
  RegisterDrawnAreaRebuilder();
}

} // namespace tov
