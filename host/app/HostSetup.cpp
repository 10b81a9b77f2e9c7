#include "host/app/HostSetup.h"

#include "host/forms/RegisterHostFormsClasses.h"
#include "host/framework/RegisterHostFrameworkClasses.h"
#include "host/gis/RegisterHostGisClasses.h"

#include "framework/Registration.h"

namespace tov {

void RegisterAllHostClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterHostGisClasses();
  RegisterHostFrameworkClasses();
  RegisterHostFormsClasses();
  RegisterComponentClasses();
}

} // namespace tov
