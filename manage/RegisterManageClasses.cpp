#include "manage/RegisterManageClasses.h"

#include "manage/TovDeleteExistingSAFunc.h"
#include "manage/TovOpenExistingSAFunc.h"
#include "platform/runtime/ObjectRegistry.h"

namespace tov {

void RegisterManageClasses() {
  RegisterClassOf<TovOpenExistingSAFunc>(kOpenExistingSAFuncProgId);
  RegisterClassOf<TovDeleteExistingSAFunc>(kDeleteExistingSAFuncProgId);
}

} // namespace tov
