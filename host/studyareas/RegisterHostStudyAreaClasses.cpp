#include "host/studyareas/RegisterHostStudyAreaClasses.h"

#include "host/studyareas/StudyAreaPropertySheetTask.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterHostStudyAreaClasses() { RegisterClassOf<StudyAreaPropertySheetTask>(kPropertySheetTaskProgId); }

} // namespace tov
