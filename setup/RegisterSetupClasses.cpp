#include "setup/RegisterSetupClasses.h"

#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "setup/TovSetupStudyAreaMain.h"

namespace tov {

void RegisterSetupClasses() {
  RegisterClassOf<TovSetupStudyAreaMain>(kSetupStudyAreaMainProgId);
}

} // namespace tov
