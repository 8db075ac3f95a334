#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tessalune::cli {

// Standard input could not be read (a folder, a closed descriptor): the command fails with
// the reason rather than treat it as empty.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// All of standard input; throws InputError when it cannot be read.
std::string readStandardInput();
void writeStandardOutput(const std::string& text);

// Standard output written in parts, for output too large to hold at once. finish() ends the
// text as writeStandardOutput does.
class StandardOutput {
 public:
  void write(std::string_view part);
  void finish();

 private:
  bool wrote_ = false;
  char last_ = '\0';
};

// "#RRGGBB" with hexadecimal digits in either case.
bool isColourText(const std::string& text);

}  // namespace tessalune::cli
