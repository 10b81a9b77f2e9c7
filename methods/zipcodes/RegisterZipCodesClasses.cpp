#include "methods/zipcodes/RegisterZipCodesClasses.h"

#include "methods/zipcodes/TovSSASelZipCodesFunction.h"
#include "methods/zipcodes/TovSSASelZipCodesTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterZipCodesClasses() {
  RegisterClassOf<TovSSASelZipCodesTask>(kSelZipCodesTaskProgId);
  RegisterClassOf<TovSSASelZipCodesFunction>(kSelZipCodesFunctionProgId);
  RegisterMethod({kZipCodesMethod, kSelZipCodesTaskProgId, false});
}

} // namespace tov
