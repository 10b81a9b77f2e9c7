#include "host/common/WorkCancel.h"

#include "platform/runtime/HostError.h"

#include <chrono>

namespace tov {

namespace {

// The poll keeps a window responsive: often enough for that, seldom enough
// to cost nothing in a tight loop.
constexpr auto kPollEvery = std::chrono::milliseconds(30);

struct State {
  std::function<bool()> poll;
  bool cancelled = false;
  long count = 0;
  int depth = 0; // polls installed
  std::chrono::steady_clock::time_point last;
};

// Work runs on the user's thread: one state for it.
State& Current() {
  static State state;
  return state;
}

} // namespace

CancelPoll::CancelPoll(std::function<bool()> poll)
    : m_previous(std::move(Current().poll)), m_previousCancelled(Current().cancelled) {
  Current().poll = std::move(poll);
  Current().cancelled = false;
  ++Current().depth;
  Current().last = std::chrono::steady_clock::now();
}

CancelPoll::~CancelPoll() {
  --Current().depth;
  Current().poll = std::move(m_previous);
  Current().cancelled = m_previousCancelled;
}

bool WorkCancelled() {
  State& s = Current();
  if (s.cancelled || !s.poll) return s.cancelled;
  const auto now = std::chrono::steady_clock::now();
  if (now - s.last < kPollEvery) return false;
  s.last = now;
  if (s.poll()) {
    s.cancelled = true;
    ++s.count;
  }
  return s.cancelled;
}

bool WorkInProgress() { return Current().depth > 0; }

long CancelledWorkCount() { return Current().count; }

void ThrowWorkCancelled(const std::string& source) {
  throw HostError(kUserInterruptError, source, "The work was cancelled.");
}

} // namespace tov
