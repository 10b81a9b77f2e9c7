#pragma once
// Shared by the fuzz targets: how a broken property is reported, what a
// proper refusal looks like, and a scratch folder for the file parsers.
#include "host/common/Paths.h"
#include "platform/runtime/HostError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tov::fuzz {

// A broken property is a finding: libFuzzer saves the input on abort.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz property broken: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Require(bool condition, const std::string& what) {
  if (!condition) Fail(what);
}

// A refusal must say what is wrong: a non-zero number and a message.
inline void CheckRefusal(const HostError& e, const char* where) {
  if (e.Number() == 0 || e.Description().empty())
    Fail(std::string(where) + ": refusal without a number or a message (number " + std::to_string(e.Number()) +
         ", source \"" + e.Source() + "\")");
}

inline std::string Text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// One scratch folder per process, also the working folder, so that relative
// paths in a fuzzed file resolve inside it and nothing lands elsewhere.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovana-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) Fail("cannot make a scratch folder");
    std::filesystem::current_path(pattern);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::current_path("/", ec);
      std::filesystem::remove_all(ScratchFolder(), ec);
    });
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) Fail("cannot write " + path.string());
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A file of the scratch folder as the host names paths.
inline std::string ScratchPath(const char* name) { return ToPlatformPath((ScratchFolder() / name).string()); }

// Saves what was read with save(path) into the scratch file name and gives
// the text written; what was read must save.
template <class Save>
std::string SaveAndRead(Save save, const char* name, const char* what) {
  try {
    save(ScratchPath(name));
  } catch (const HostError& e) {
    Fail(std::string("a ") + what + " that was read cannot be saved: " + e.Description());
  }
  return ReadFile(ScratchFolder() / name);
}

// What was saved (first, in the scratch file savedName) reads again with
// read(path) and saves with save(path) to the same text.
template <class Read, class Save>
void RequireStableSave(const std::string& first, const char* savedName, const char* againName, const char* what,
                       Read read, Save save) {
  try {
    read(ScratchPath(savedName));
  } catch (const HostError& e) {
    Fail(std::string("a saved ") + what + " cannot be read: " + e.Description() + "\n" + first);
  }
  const std::string second = SaveAndRead(save, againName, what);
  Require(first == second, std::string("a ") + what + " saved twice differs:\n" + first + "\n---\n" + second);
}

} // namespace tov::fuzz
