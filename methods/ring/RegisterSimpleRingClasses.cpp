#include "methods/ring/RegisterSimpleRingClasses.h"

#include "methods/ring/TovSSASimpleRingFunction.h"
#include "methods/ring/TovSSASimpleRingTask.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterSimpleRingClasses() {
  RegisterClassOf<TovSSASimpleRingTask>(kSimpleRingTaskProgId);
  RegisterClassOf<TovSSASimpleRingFunction>(kSimpleRingFunctionProgId);
}

} // namespace tov
