#pragma once
#include <functional>
#include <string>

namespace tov {

// How long work on the user's thread learns that the user gave it up. The
// front end that shows the work (the window's progress dialog) installs a
// poll for as long as the work runs: the poll keeps the window responsive
// and says whether the user pressed Cancel. Work that can stop safely
// (between a function's steps, inside a union of many shapes) asks
// WorkCancelled() now and then; work that must not stop halfway (storing a
// study area) never asks. Without a poll (the command line) nothing is
// ever cancelled.
class CancelPoll {
public:
  explicit CancelPoll(std::function<bool()> poll);
  ~CancelPoll();
  CancelPoll(const CancelPoll&) = delete;
  CancelPoll& operator=(const CancelPoll&) = delete;

private:
  std::function<bool()> m_previous;
  bool m_previousCancelled;
};

// True once the installed poll said the user gave the work up; the poll is
// asked at most every few hundredths of a second, so this is cheap to call
// in a loop.
bool WorkCancelled();

// True while long work runs under a front end's poll: what the window does
// between polls (handling its events) must leave the analysis alone.
bool WorkInProgress();

// How many times work was given up in this process (a run compares it
// before and after to tell a cancelled run from a failed one).
long CancelledWorkCount();

// The error number of work the user gave up: "User interrupt occurred".
constexpr long kUserInterruptError = 18;
[[noreturn]] void ThrowWorkCancelled(const std::string& source);

} // namespace tov
