#pragma once
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace tov::testing {

// A shell command run to its end: its exit status and what it wrote on
// stdout and stderr together.
struct ShellRun {
  int status = -1;
  std::string output;
};

inline ShellRun RunShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The text in single quotes for the shell.
inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

} // namespace tov::testing
