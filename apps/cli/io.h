#pragma once

#include <memory>
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

class DescriptorBuffer;

// Standard output checked for the whole run: while it lives, std::cout (what the commands
// and CLI11 print) writes through a buffer of its own on descriptor 1 that keeps the first
// failure and its reason. A standard descriptor that was closed is held open on /dev/null
// the wrong way round, so that its reads or writes fail as on a closed one and no file the
// command opens takes its number.
class CheckedOutput {
 public:
  CheckedOutput();
  ~CheckedOutput();
  CheckedOutput(const CheckedOutput&) = delete;
  CheckedOutput& operator=(const CheckedOutput&) = delete;

  // Flushes both streams and gives the status to exit with: `status` while all was
  // written; 4 after a failed write on standard output, told as one line on standard error
  // ("standard output: No space left on device"); 4 silently when standard error failed.
  int finish(int status);

 private:
  std::unique_ptr<DescriptorBuffer> buffer_;
  std::streambuf* previous_;
};

// "#RRGGBB" with hexadecimal digits in either case.
bool isColourText(const std::string& text);

}  // namespace tessalune::cli
