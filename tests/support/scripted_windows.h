#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace tessalune::testing {

// Shows a window by running a script while it is "shown", then hides it.
class ScriptedWindows : public ui::WindowSystem {
 public:
  void runModal(ui::Window& window) override {
    shown.push_back(window.name());
    if (onShow) onShow(window);
    window.hide();
  }
  std::function<void(ui::Window&)> onShow;
  std::vector<std::string> shown;
};

}  // namespace tessalune::testing
