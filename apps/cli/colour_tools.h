#pragma once

#include <CLI/CLI.hpp>

namespace tessalune::cli {

// The conversions from rich text with their questions and limits: direct colouring of a
// text with a style, and the RTF of a box to markup.
void addColourTools(CLI::App& app, int& exitCode);

}  // namespace tessalune::cli
