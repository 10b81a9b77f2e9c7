#pragma once
#include "platform/framework/ProgressRunner.h"

#include <iosfwd>

namespace tov {

// "TovKernel.ProgressRunner" on the command line: while the function runs,
// a terminal on stderr shows the message, a spinner and the elapsed time.
// Nothing is drawn when stderr is not a terminal (logs, tests).
class TerminalProgressRunner : public ProgressRunner {
public:
  TerminalProgressRunner();
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animationPath, int64_t ownerWindow) override;

  // Draw on this stream whatever it is (tests); nullptr = stderr when a terminal.
  void SetOutput(std::ostream* out) { m_out = out; }
  long StepsRun() const { return m_steps; }

private:
  std::ostream* m_out = nullptr;
  bool m_draw = false;
  long m_steps = 0;
};

} // namespace tov
