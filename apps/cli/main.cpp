#include <CLI/CLI.hpp>

#include "colour_tools.h"
#include "config_tools.h"
#include "engine_tools.h"
#include "host_tools.h"
#include "update_tools.h"

int main(int argc, char** argv) {
  CLI::App app{"Tessalune: colours nicknames and chat messages with Messenger Plus! codes."};
  app.require_subcommand(1);
  int exitCode = 0;
  tessalune::cli::addHostTools(app, exitCode);
  tessalune::cli::addColourTools(app, exitCode);
  tessalune::cli::addEngineTools(app, exitCode);
  tessalune::cli::addConfigTools(app, exitCode);
  tessalune::cli::addUpdateTools(app, exitCode);
  CLI11_PARSE(app, argc, argv);
  return exitCode;
}
