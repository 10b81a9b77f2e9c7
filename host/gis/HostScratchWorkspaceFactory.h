#pragma once
#include "platform/gis/ScratchWorkspaceFactory.h"

namespace tov {

// One GeoPackage in the temporary folder per process, removed at exit.
class HostScratchWorkspaceFactory : public ScratchWorkspaceFactory {
public:
  WorkspacePtr DefaultScratchWorkspace() override;
};

} // namespace tov
