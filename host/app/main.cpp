#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
  CLI::App app{"tovana: study area setup for business and market analysis"};
  app.set_version_flag("--version", std::string("tovana ") + TOVANA_VERSION);
  std::string analysis = "analysis";
  std::string dataset;
  app.add_option("--analysis", analysis, "Analysis folder (created when missing)")->capture_default_str();
  app.add_option("--dataset", dataset, "Data set to work on (default: the analysis's current one)");
  app.require_subcommand(0, 1);
  CLI11_PARSE(app, argc, argv);
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
    return 0;
  }
  return 0;
}
