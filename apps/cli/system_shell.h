#pragma once

#include <spawn.h>

#include <string>
#include <vector>

#include "platform/shell.h"

extern char** environ;

namespace tessalune::cli {

// Opens documents with the desktop's handler and starts programs, without waiting for them.
class SystemShell : public platform::Shell {
 public:
  bool open(const std::string& target) override { return spawn({"xdg-open", target}); }
  bool startMinimized(const std::string& program) override { return spawn({program}); }

 private:
  static bool spawn(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    return ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
  }
};

}  // namespace tessalune::cli
