#include "methods/curextent/RegisterCurExtentClasses.h"

#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterCurExtentClasses() {
  RegisterClassOf<TovSSACurExtentTask>(kCurExtentTaskProgId);
  RegisterClassOf<TovSSACurExtentFunction>(kCurExtentFunctionProgId);
  RegisterMethod({kCurrentExtentMethod, kCurExtentTaskProgId, false});
}

} // namespace tov
