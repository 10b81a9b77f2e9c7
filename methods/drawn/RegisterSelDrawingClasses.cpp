#include "methods/drawn/RegisterSelDrawingClasses.h"

#include "methods/drawn/TovSSASelDrawingFunction.h"
#include "methods/drawn/TovSSASelDrawingTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterSelDrawingClasses() {
  RegisterClassOf<TovSSASelDrawingTask>(kSelDrawingTaskProgId);
  RegisterClassOf<TovSSASelDrawingFunction>(kSelDrawingFunctionProgId);
  RegisterMethod({kDrawnAreaMethod, kSelDrawingTaskProgId, false});
}

} // namespace tov
