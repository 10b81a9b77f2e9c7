#include "methods/selshapes/RegisterSelShapesClasses.h"

#include "methods/selshapes/TovSSACurSelShapesFunction.h"
#include "methods/selshapes/TovSSACurSelShapesTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterSelShapesClasses() {
  RegisterClassOf<TovSSACurSelShapesTask>(kCurSelShapesTaskProgId);
  RegisterClassOf<TovSSACurSelShapesFunction>(kCurSelShapesFunctionProgId);
  RegisterMethod({kSelectedShapesMethod, kCurSelShapesTaskProgId, false});
}

} // namespace tov
