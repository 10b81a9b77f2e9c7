#include "component/RegisterComponentClasses.h"

#include "methods/curextent/RegisterCurExtentClasses.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterCurExtentClasses();
}

} // namespace tov
