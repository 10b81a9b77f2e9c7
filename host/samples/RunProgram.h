#pragma once
#include <string>
#include <vector>

namespace tov {

// A program run to its end, without a shell (no quoting of arguments).
struct ProgramResult {
  bool started = false; // false: the program is not installed (not on PATH)
  int status = -1;      // exit status; -1 when it was killed
  std::string out;      // what it wrote on stdout
  std::string err;      // what it wrote on stderr
};
ProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& workingFolder = std::string());

} // namespace tov
