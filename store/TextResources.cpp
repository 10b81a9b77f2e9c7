#include "store/TextResources.h"

#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <cstdint>

namespace tov {

namespace {
// The text resources of this thread, and the registry generation they were
// created in: a class registered since replaces them.
thread_local ResourceFinderPtr t_textResources;
thread_local uint64_t t_textResourcesGeneration = 0;
} // namespace

ResourceFinderPtr GetTextResources() {
  const uint64_t generation = RegistryGeneration();
  if (!t_textResources || t_textResourcesGeneration != generation) {
    t_textResources.reset();
    t_textResources = CreateAs<ResourceFinder>(kTextResourcesProgId);
    t_textResourcesGeneration = generation;
  }
  return t_textResources;
}

} // namespace tov
