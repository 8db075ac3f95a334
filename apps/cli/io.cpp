#include "io.h"

#include <unistd.h>

#include <iostream>
#include <iterator>

namespace tessalune::cli {

std::string readStandardInput() {
  return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

void writeStandardOutput(const std::string& text) {
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
  // A terminal gets its line ended; a pipe or file gets the exact bytes.
  if (!text.empty() && text.back() != '\n' && ::isatty(1)) std::cout << '\n';
  std::cout.flush();
}

bool isColourText(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return false;
  return text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
}

}  // namespace tessalune::cli
