#pragma once

#include <string>
#include <vector>

#include "errors/lifecycle.h"

namespace tessalune::testing {

// Records, in order, the steps the plug-in takes for each request it is given.
class RecordingLifecycle : public errors::Lifecycle {
 public:
  void request(Request what) override {
    switch (what) {
      case Request::ReloadConfig:
        loadConfig();
        break;
      case Request::StartAgain:
      case Request::Restart:
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
  }
  bool stopping() const override { return stopping_; }
  void writeDefaultConfiguration() override { calls.push_back("writeDefaultConfiguration"); }

  virtual void unloadForms() { calls.push_back("unloadForms"); }
  virtual void setHalted() {
    calls.push_back("setHalted");
    stopping_ = true;
  }
  virtual void initPlugin() { calls.push_back("initPlugin"); }
  virtual void loadConfig() { calls.push_back("loadConfig"); }

  std::vector<std::string> calls;

 private:
  bool stopping_ = false;
};

}  // namespace tessalune::testing
