#include "methods/drawn/RegisterSelDrawingClasses.h"

#include "methods/drawn/TovSSASelDrawingFunction.h"
#include "methods/drawn/TovSSASelDrawingTask.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterSelDrawingClasses() {
  RegisterClassOf<TovSSASelDrawingTask>(kSelDrawingTaskProgId);
  RegisterClassOf<TovSSASelDrawingFunction>(kSelDrawingFunctionProgId);
}

} // namespace tov
