#include "host/framework/TerminalProgressRunner.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <iostream>

namespace tov {
namespace {
using Clock = std::chrono::steady_clock;

class Display {
public:
  Display(std::ostream* out, std::string text) : m_out(out), m_text(std::move(text)), m_start(Clock::now()) {
    Draw(true);
  }
  ~Display() {
    if (m_out) *m_out << "\r\033[K" << std::flush; // leave a clean line for what follows
  }
  void Draw(bool force = false) {
    if (!m_out) return;
    auto now = Clock::now();
    if (!force && now - m_last < std::chrono::milliseconds(100)) return;
    m_last = now;
    static const char kSpin[] = {'|', '/', '-', '\\'};
    double seconds = std::chrono::duration<double>(now - m_start).count();
    // One decimal with a "." whatever the locale.
    char elapsed[32];
    const auto written = std::to_chars(elapsed, elapsed + sizeof elapsed, seconds, std::chars_format::fixed, 1);
    *m_out << "\r\033[K" << m_text << " " << kSpin[m_frame++ % 4] << " " << std::string(elapsed, written.ptr) << " s"
           << std::flush;
  }

private:
  std::ostream* m_out;
  std::string m_text;
  Clock::time_point m_start;
  Clock::time_point m_last{};
  unsigned m_frame = 0;
};
} // namespace

TerminalProgressRunner::TerminalProgressRunner() : m_draw(isatty(STDERR_FILENO) != 0) {}

void TerminalProgressRunner::Run(const ITovFunctionPtr& function, const std::string& title,
                                 const std::string& message, const std::string& /*animationPath*/,
                                 int64_t /*ownerWindow*/) {
  m_steps = 0;
  if (!function) return;
  std::ostream* out = m_out ? m_out : (m_draw ? &std::cerr : nullptr);
  std::string text = title.empty() ? message : title + ": " + message;
  Display display(out, text);
  // A function that cannot prepare its work has nothing to step through.
  if (!function->Start()) return;
  while (function->DoStep()) {
    ++m_steps;
    display.Draw();
  }
  ++m_steps;
}

} // namespace tov
