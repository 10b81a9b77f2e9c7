#pragma once

namespace tov {

// Registers the ZIP code method's task and function under their ProgIDs.
void RegisterZipCodesClasses();

} // namespace tov
