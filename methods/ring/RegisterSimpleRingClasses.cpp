#include "methods/ring/RegisterSimpleRingClasses.h"

#include "methods/ring/TovSSASimpleRingFunction.h"
#include "methods/ring/TovSSASimpleRingTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterSimpleRingClasses() {
  RegisterClassOf<TovSSASimpleRingTask>(kSimpleRingTaskProgId);
  RegisterClassOf<TovSSASimpleRingFunction>(kSimpleRingFunctionProgId);
  RegisterMethod({kSimpleRingMethod, kSimpleRingTaskProgId, false});
}

} // namespace tov
