#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// The terminal's preferences: show and set the settings of a plug-in folder, import and
// export its configuration, list its QuickNicks.
void addConfigTools(CLI::App& app, int& exitCode);

}  // namespace tessalune::cli
