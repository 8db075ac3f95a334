#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// The terminal host: plays typed lines to the plug-in (run, chat), lists its commands, and
// renders Plus! text.
void addHostTools(CLI::App& app, int& exitCode);

}  // namespace tessalune::cli
