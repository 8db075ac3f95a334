#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessalune::platform {

// Opening a document or an address with the desktop's handler, and starting a program.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file or an address; false when nothing could open it.
  virtual bool open(const std::string& target) = 0;
  // Starts a program minimized; the system's reason when it could not be started.
  virtual std::optional<std::string> startMinimized(const std::string& program) = 0;
};

// Records what it was asked to open or start, and opens nothing.
class RecordingShell : public Shell {
 public:
  bool open(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  std::optional<std::string> startMinimized(const std::string& program) override {
    started.push_back(program);
    return std::nullopt;
  }
  std::vector<std::string> opened;
  std::vector<std::string> started;
};

}  // namespace tessalune::platform
