#include "host/forms/RegisterHostFormsClasses.h"

#include "host/forms/HostSystemCalls.h"

namespace tov {

void RegisterHostFormsClasses() { SetSystemCalls(std::make_shared<HostSystemCalls>()); }

} // namespace tov
