#pragma once

#include <string>
#include <vector>

#include "errors/lifecycle.h"

namespace tessalune::testing {

// Records what the plug-in was asked to do, in order.
class RecordingLifecycle : public errors::Lifecycle {
 public:
  void unloadForms() override { calls.push_back("unloadForms"); }
  void setHalted() override { calls.push_back("setHalted"); }
  void initPlugin() override { calls.push_back("initPlugin"); }
  void writeDefaultConfiguration() override { calls.push_back("writeDefaultConfiguration"); }
  void loadConfig() override { calls.push_back("loadConfig"); }

  std::vector<std::string> calls;
};

}  // namespace tessalune::testing
