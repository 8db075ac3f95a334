#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <string>

#include "colour_tools.h"
#include "completion_tools.h"
#include "config_tools.h"
#include "engine_tools.h"
#include "exit_status.h"
#include "host_tools.h"
#include "io.h"
#include "update/plugin_version.h"
#include "update_tools.h"

namespace {

bool isSubcommand(CLI::App& app, const std::string& name) {
  for (const CLI::App* sub : app.get_subcommands({})) {
    if (sub->check_name(name)) return true;
  }
  return false;
}

// Options of the whole program (--color) may follow a subcommand's name too.
void allowParentOptions(CLI::App& app) {
  for (CLI::App* sub : app.get_subcommands({})) {
    sub->fallthrough();
    allowParentOptions(*sub);
  }
}

std::string subcommandNames(const CLI::App& app) {
  std::string names;
  for (const CLI::App* sub : app.get_subcommands({})) names += (names.empty() ? "" : ", ") + sub->get_name();
  return names;
}

// Parses the command line and runs the command; returns its exit status.
int runCommand(int argc, char** argv) {
  using namespace tessalune::cli;
  CLI::App app{"Tessalune: colours nicknames and chat messages with Messenger Plus! codes."};
  app.name("tessalune");
  app.set_version_flag("--version", std::string("tessalune ") + tessalune::update::kVersionText);
  app.require_subcommand(1);
  app.footer(kExitStatusHelp);
  int exitCode = kSuccess;
  addHostTools(app, exitCode);
  addColourTools(app, exitCode);
  addEngineTools(app, exitCode);
  addConfigTools(app, exitCode);
  addUpdateTools(app, exitCode);
  addCompletionTools(app, exitCode);

  // --color decides for the whole process and for the plug-in module it loads, which read it
  // from the environment; it is taken before the subcommands run.
  std::string colour = "auto";
  app.add_option("--color", colour,
                 "Colour and decorations: auto (a terminal, unless NO_COLOR is set), always or never")
      ->check(CLI::IsMember({"auto", "always", "never"}))
      ->capture_default_str();
  allowParentOptions(app);
  for (int i = 1; i + 1 < argc || (i < argc && std::string_view(argv[i]).starts_with("--color=")); ++i) {
    const std::string_view word = argv[i];
    const std::string value = word.starts_with("--color=") ? std::string(word.substr(8))
                              : word == "--color"          ? argv[i + 1]
                                                           : "";
    if (value == "always" || value == "never") ::setenv("TESSALUNE_COLOR", value.c_str(), 1);
  }

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
  } catch (const InputError& e) {
    std::cerr << "tessalune: " << e.what() << "\n";
    return kFileOrNetwork;
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever the command, its output counts only once it is written.
  tessalune::cli::CheckedOutput output;
  return output.finish(runCommand(argc, argv));
}
