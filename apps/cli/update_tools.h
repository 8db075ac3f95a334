#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// tessalune update [check|news|download|install]: the update window driven from the terminal.
void addUpdateTools(CLI::App& app, int& exitCode);

}  // namespace tessalune::cli
