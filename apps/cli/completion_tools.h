#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// `tessalune completion bash|zsh|fish`: a completion script for the shell, made from the
// program's own subcommands and options.
void addCompletionTools(CLI::App& app, int& exitCode);

}  // namespace tessalune::cli
