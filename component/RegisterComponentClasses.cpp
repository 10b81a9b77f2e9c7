#include "component/RegisterComponentClasses.h"

#include "manage/RegisterManageClasses.h"
#include "methods/curextent/RegisterCurExtentClasses.h"
#include "methods/zipcodes/RegisterZipCodesClasses.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterCurExtentClasses();
  RegisterZipCodesClasses();
  RegisterManageClasses();
}

} // namespace tov
