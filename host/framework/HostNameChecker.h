#pragma once
#include "platform/framework/NameChecker.h"

namespace tov {

// "TovKernel.NameChecker": a study area name becomes a layer name and part of
// file names, so it must be valid UTF-8, non-empty, without blanks (of any
// kind) around it, without the characters \ / : * ? " < > |, without
// characters that cannot be seen (controls, formatting characters, line and
// paragraph separators), and at most kMaxLength characters long (counted in
// its NFC form, the form the catalogue keeps).
class HostNameChecker : public NameChecker {
public:
  static constexpr size_t kMaxLength = 64;

  bool Test(const std::string& name) override;
  std::string Reason() override { return m_reason; }

  // The reason a name is refused, or "" when it is acceptable.
  static std::string Check(const std::string& name);

private:
  std::string m_reason;
};

} // namespace tov
