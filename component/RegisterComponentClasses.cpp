#include "component/RegisterComponentClasses.h"

#include "manage/RegisterManageClasses.h"
#include "methods/curextent/RegisterCurExtentClasses.h"
#include "methods/selshapes/RegisterSelShapesClasses.h"
#include "methods/whole/RegisterUseWholeClasses.h"
#include "setup/RegisterSetupClasses.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterCurExtentClasses();
  RegisterSelShapesClasses();
  RegisterUseWholeClasses();
  RegisterManageClasses();
  RegisterSetupClasses();
}

} // namespace tov
