#pragma once
#include <string>

namespace tov {

// The one check of a study area name typed by the user, for the name page
// and the edit name dialog alike: "" when the host's name checker accepts
// it, otherwise the message that refuses it, text 135 followed by the
// checker's own reason when withReason.
std::string NameRefusal(const std::string& name, bool withReason);

} // namespace tov
