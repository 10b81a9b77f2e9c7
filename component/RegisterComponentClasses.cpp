#include "component/RegisterComponentClasses.h"

#include "manage/RegisterManageClasses.h"
#include "methods/curextent/RegisterCurExtentClasses.h"
#include "methods/selshapes/RegisterSelShapesClasses.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterCurExtentClasses();
  RegisterSelShapesClasses();
  RegisterManageClasses();
}

} // namespace tov
