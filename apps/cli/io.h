#pragma once

#include <string>

namespace tessalune::cli {

std::string readStandardInput();
void writeStandardOutput(const std::string& text);

// "#RRGGBB" with hexadecimal digits in either case.
bool isColourText(const std::string& text);

}  // namespace tessalune::cli
