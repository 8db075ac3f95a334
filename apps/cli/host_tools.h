#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// The terminal host: plays typed lines to the plug-in (run, chat), lists its commands, and
// renders Plus! text.
void addHostTools(CLI::App& app, int& exitCode);

// Exit status of `run` when the plug-in did not handle the line (not one of its commands,
// or the plug-in is halted).
inline constexpr int kNotHandled = 3;

}  // namespace tessalune::cli
