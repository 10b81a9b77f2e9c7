#include "component/RegisterComponentClasses.h"

#include "manage/RegisterManageClasses.h"
#include "methods/curextent/RegisterCurExtentClasses.h"
#include "methods/selshapes/RegisterSelShapesClasses.h"
#include "methods/whole/RegisterUseWholeClasses.h"
#include "methods/zipcodes/RegisterZipCodesClasses.h"
#include "setup/RegisterSetupClasses.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterCurExtentClasses();
  RegisterSelShapesClasses();
  RegisterUseWholeClasses();
  RegisterZipCodesClasses();
  RegisterManageClasses();
  RegisterSetupClasses();
}

} // namespace tov
