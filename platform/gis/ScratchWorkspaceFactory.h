#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// ProgID "orvaCore.ScratchWorkspaceFactory": a temporary workspace for
// selections and intermediate data, removed when the process ends.
class ScratchWorkspaceFactory : public virtual Object {
public:
  virtual WorkspacePtr DefaultScratchWorkspace() = 0;
};

using ScratchWorkspaceFactoryPtr = std::shared_ptr<ScratchWorkspaceFactory>;

} // namespace tov
