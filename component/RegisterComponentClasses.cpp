#include "component/RegisterComponentClasses.h"

#include "manage/RegisterManageClasses.h"
#include "methods/curextent/RegisterCurExtentClasses.h"
#include "setup/RegisterSetupClasses.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterCurExtentClasses();
  RegisterManageClasses();
  RegisterSetupClasses();
}

} // namespace tov
