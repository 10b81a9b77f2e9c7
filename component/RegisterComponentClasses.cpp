#include "component/RegisterComponentClasses.h"

#include "manage/RegisterManageClasses.h"
#include "methods/curextent/RegisterCurExtentClasses.h"
#include "methods/drawn/RegisterSelDrawingClasses.h"
#include "methods/maplist/RegisterMapListClasses.h"
#include "methods/ring/RegisterSimpleRingClasses.h"
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
  RegisterMapListClasses();
  RegisterSimpleRingClasses();
  RegisterSelDrawingClasses();
  RegisterManageClasses();
  RegisterSetupClasses();
}

} // namespace tov
