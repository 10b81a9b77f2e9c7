#include "framework/Registration.h"

#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"
#include "platform/runtime/ObjectRegistry.h"

namespace tov {

void RegisterComponentClasses() {
  RegisterClassOf<TovSSACurExtentTask>(kCurExtentTaskProgId);
  RegisterClassOf<TovSSACurExtentFunction>(kCurExtentFunctionProgId);
}

} // namespace tov
