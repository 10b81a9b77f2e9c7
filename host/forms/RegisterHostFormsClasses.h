#pragma once

namespace tov {

// Installs the host's system calls (HostSystemCalls) for the forms runtime.
// The presenter is the front end's choice: it calls SetPresenter itself.
void RegisterHostFormsClasses();

} // namespace tov
