#pragma once
// Counts the host calls the code under test makes and acts at the n-th:
// every creation through the registry and every call on layer files,
// workspace factories, file information and the file system object.
#include "Prelude.h"

namespace tov::test {

class HostCallCounter {
public:
  // What to do at the n-th call, "ProgID" (a creation) or "ProgID.Method".
  using Action = std::function<void(const std::string& call)>;

  // Counts the calls of the ProgIDs `wanted` accepts (all when empty); n = 0 only counts.
  HostCallCounter(long n, Action action, std::function<bool(const std::string&)> wanted = {});
  ~HostCallCounter();
  HostCallCounter(const HostCallCounter&) = delete;
  HostCallCounter& operator=(const HostCallCounter&) = delete;

  long Calls() const { return m_calls; }
  // The n-th call ("" when there were fewer).
  const std::string& Hit() const { return m_hit; }
  // Every call counted, in order.
  const std::vector<std::string>& Log() const { return m_log; }

  // One call; runs the action when it is the n-th.
  void Tick(const std::string& call);

private:
  std::vector<std::pair<std::string, ObjectFactory>> m_saved;
  long m_n;
  Action m_action;
  long m_calls = 0;
  std::string m_hit;
  std::vector<std::string> m_log;
};

} // namespace tov::test
