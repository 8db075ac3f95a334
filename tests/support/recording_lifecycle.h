#pragma once

#include <string>
#include <vector>

#include "errors/lifecycle.h"

namespace tessalune::testing {

// Records, in order, the steps the plug-in takes for each request it is given; refuses
// restarts when told to.
class RecordingLifecycle : public errors::Lifecycle {
 public:
  bool request(Request what) noexcept override {
    switch (what) {
      case Request::ReloadConfig:
        loadConfig();
        break;
      case Request::Restart:
        if (refuseRestarts) return false;
        [[fallthrough]];
      case Request::StartAgain:
        unloadForms();
        initPlugin();
        stopping_ = true;
        break;
      case Request::Halt:
        unloadForms();
        setHalted();
        break;
      case Request::HaltKeepingWindows:
        setHalted();
        break;
    }
    return true;
  }
  bool stopping() const override { return stopping_; }

  void unloadForms() { calls.push_back("unloadForms"); }
  void setHalted() {
    calls.push_back("setHalted");
    stopping_ = true;
  }
  void initPlugin() { calls.push_back("initPlugin"); }
  void loadConfig() { calls.push_back("loadConfig"); }

  std::vector<std::string> calls;
  bool refuseRestarts = false;

 private:
  bool stopping_ = false;
};

}  // namespace tessalune::testing
