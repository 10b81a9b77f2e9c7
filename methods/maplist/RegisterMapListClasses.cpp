#include "methods/maplist/RegisterMapListClasses.h"

#include "methods/maplist/TovSSAMapListFunction.h"
#include "methods/maplist/TovSSAMapListTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterMapListClasses() {
  RegisterClassOf<TovSSAMapListTask>(kMapListTaskProgId);
  RegisterClassOf<TovSSAMapListFunction>(kMapListFunctionProgId);
  RegisterMethod({kMapListMethod, kMapListTaskProgId, true});
}

} // namespace tov
