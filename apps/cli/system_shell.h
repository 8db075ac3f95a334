#pragma once

#include <spawn.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

extern char** environ;

namespace tessalune::cli {

// Opens documents with the desktop's handler and starts programs, without waiting for them.
class SystemShell : public platform::Shell {
 public:
  bool open(const std::string& target) override { return !spawn({"xdg-open", target}); }
  std::optional<std::string> startMinimized(const std::string& program) override { return spawn({program}); }

 private:
  // The system's reason when the program could not be started.
  static std::optional<std::string> spawn(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (error == 0) return std::nullopt;
    return std::string(std::strerror(error));
  }
};

}  // namespace tessalune::cli
