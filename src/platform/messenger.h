#pragma once

#include <string>
#include <utility>

namespace tessalune::platform {

// The messenger the host hands over: the plug-in reads only the signed-in user's
// friendly name (the current nickname, which may hold Plus! codes).
class Messenger {
 public:
  virtual ~Messenger() = default;
  virtual std::string friendlyName() const = 0;
};

// A messenger whose nickname the host keeps and updates from "/nick2 " results.
class HostMessenger : public Messenger {
 public:
  explicit HostMessenger(std::string nickname = {}) : nickname_(std::move(nickname)) {}
  std::string friendlyName() const override { return nickname_; }
  void setFriendlyName(std::string nickname) { nickname_ = std::move(nickname); }

 private:
  std::string nickname_;
};

}  // namespace tessalune::platform
