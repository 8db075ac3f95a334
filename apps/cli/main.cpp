#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "colour_tools.h"
#include "config_tools.h"
#include "engine_tools.h"
#include "exit_status.h"
#include "host_tools.h"
#include "update_tools.h"

namespace {

bool isSubcommand(CLI::App& app, const std::string& name) {
  for (const CLI::App* sub : app.get_subcommands({})) {
    if (sub->check_name(name)) return true;
  }
  return false;
}

std::string subcommandNames(const CLI::App& app) {
  std::string names;
  for (const CLI::App* sub : app.get_subcommands({})) names += (names.empty() ? "" : ", ") + sub->get_name();
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tessalune::cli;
  CLI::App app{"Tessalune: colours nicknames and chat messages with Messenger Plus! codes."};
  app.name("tessalune");
  app.set_version_flag("--version", std::string("tessalune ") + TESSALUNE_VERSION);
  app.require_subcommand(1);
  app.footer(kExitStatusHelp);
  int exitCode = kSuccess;
  addHostTools(app, exitCode);
  addColourTools(app, exitCode);
  addEngineTools(app, exitCode);
  addConfigTools(app, exitCode);
  addUpdateTools(app, exitCode);

  if (argc >= 2) {
    const std::string first = argv[1];
    if (first == "help") {
      std::cout << app.help();
      return kSuccess;
    }
    if (!first.starts_with("-") && !isSubcommand(app, first)) {
      std::cerr << "tessalune: unknown subcommand \"" << first << "\"; the subcommands are "
                << subcommandNames(app) << " (tessalune --help)\n";
      return kUsage;
    }
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "tessalune: " << e.what() << " (tessalune --help)\n";
    return kUsage;
  }
  return exitCode;
}
