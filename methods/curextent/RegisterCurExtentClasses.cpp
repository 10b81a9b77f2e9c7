#include "methods/curextent/RegisterCurExtentClasses.h"

#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterCurExtentClasses() {
  RegisterClassOf<TovSSACurExtentTask>(kCurExtentTaskProgId);
  RegisterClassOf<TovSSACurExtentFunction>(kCurExtentFunctionProgId);
}

} // namespace tov
