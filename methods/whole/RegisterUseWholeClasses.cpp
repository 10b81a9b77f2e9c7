#include "methods/whole/RegisterUseWholeClasses.h"

#include "methods/whole/TovSSAUseWholeFunction.h"
#include "methods/whole/TovSSAUseWholeTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterUseWholeClasses() {
  RegisterClassOf<TovSSAUseWholeTask>(kUseWholeTaskProgId);
  RegisterClassOf<TovSSAUseWholeFunction>(kUseWholeFunctionProgId);
  RegisterMethod({kUseWholeMethod, kUseWholeTaskProgId, false});
}

} // namespace tov
