#include "HostCallCounter.h"

namespace tov::test {

HostCallCounter::HostCallCounter(long n, Action action, std::function<bool(const std::string&)> wanted) {
  for (const std::string& progId : RegisteredProgIds()) {
    if (wanted && !wanted(progId)) continue;
    ObjectFactory inner = RegisteredFactory(progId);
    m_saved.emplace_back(progId, inner);
    RegisterClass(progId, [this, n, action, progId, inner]() -> ObjectPtr {
      if (++m_calls == n) {
        m_hit = progId;
        action(progId);
      }
      return inner();
    });
  }
}

HostCallCounter::~HostCallCounter() {
  for (const auto& [progId, factory] : m_saved) RegisterClass(progId, factory);
}

} // namespace tov::test
