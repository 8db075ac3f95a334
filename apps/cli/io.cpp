#include "io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <iterator>

#include "engine/colour.h"

namespace tessalune::cli {

// Read in large blocks straight from the descriptor: a character at a time through the
// synchronised stream costs more than any conversion does.
std::string readStandardInput() {
  std::string text;
  // A file's size is known: room for it at once, instead of growing and copying.
  struct stat status {};
  if (::fstat(0, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    text.reserve(static_cast<std::size_t>(status.st_size));
  }
  std::array<char, 1 << 16> block{};
  for (;;) {
    const ssize_t n = ::read(0, block.data(), block.size());
    if (n > 0) {
      text.append(block.data(), static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      throw InputError(std::string("standard input: ") + std::strerror(errno));
    }
  }
  return text;
}

void StandardOutput::write(std::string_view part) {
  std::cout.write(part.data(), static_cast<std::streamsize>(part.size()));
  if (part.empty()) return;
  wrote_ = true;
  last_ = part.back();
}

void StandardOutput::finish() {
  // A terminal gets its line ended; a pipe or file gets the exact bytes.
  if (wrote_ && last_ != '\n' && ::isatty(1)) std::cout << '\n';
  std::cout.flush();
}

void writeStandardOutput(const std::string& text) {
  StandardOutput out;
  out.write(text);
  out.finish();
}

bool isColourText(const std::string& text) {
  return engine::colourFromHex(text).has_value();
}

}  // namespace tessalune::cli
