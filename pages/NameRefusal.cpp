#include "pages/NameRefusal.h"

#include "pages/modi18N.h"
#include "platform/framework/NameChecker.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

std::string NameRefusal(const std::string& name, bool withReason) {
  auto checker = CreateAs<NameChecker>(kNameCheckerProgId);
  if (!checker->Test(name)) return std::string();
  std::string message = GetTextResources()->FindString("135");
  const std::string reason = withReason ? checker->Reason() : std::string();
  // The reason is a sentence of its own.
  if (!reason.empty() && !message.empty() && message.back() != ' ' && message.back() != '\n') message += ' ';
  return message + reason;
}

} // namespace tov
