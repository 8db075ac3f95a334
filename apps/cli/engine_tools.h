#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// The engine's conversions as filters: UTF-8 on standard input, the result on standard
// output with nothing added.
void addEngineTools(CLI::App& app, int& exitCode);

}  // namespace tessalune::cli
