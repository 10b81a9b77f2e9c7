#include "host/studyareas/RegisterHostStudyAreaClasses.h"

#include "host/studyareas/StudyAreaPropertySheetTask.h"
#include "host/studyareas/WholeLayerRebuilder.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterHostStudyAreaClasses() {
  RegisterClassOf<StudyAreaPropertySheetTask>(kPropertySheetTaskProgId);
  RegisterStudyAreaRebuilder(kUseWholeMethod, [] { return std::make_unique<WholeLayerRebuilder>(); });
}

} // namespace tov
