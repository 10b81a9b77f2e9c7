#include "host/studyareas/WholeLayerRebuilder.h"

#include "platform/runtime/ProgIds.h"

namespace tov {

std::string WholeLayerRebuilder::FunctionProgId() const { return kUseWholeFunctionProgId; }

} // namespace tov
