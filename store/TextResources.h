#pragma once
#include "platform/framework/ResourceFinder.h"

namespace tov {

// The text resource component of this thread, created on first use and
// again whenever a class was registered since. Below the pages so that the
// store's own messages read their texts from the same place.
ResourceFinderPtr GetTextResources();

} // namespace tov
