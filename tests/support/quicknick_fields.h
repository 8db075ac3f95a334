#pragma once

#include <string>

#include "store/quicknick_state.h"

namespace tessalune::testing {

// The manager's view of the current QuickNick as plain fields, for the store without windows.
struct QuickNickFields final : store::QuickNickView {
  void setCounter(std::string text) override { counter = std::move(text); }
  std::string shortcut() const override { return shortcutBox; }
  void setShortcut(std::string text) override { shortcutBox = std::move(text); }
  std::string previousShortcut() const override { return previous; }
  void setPreviousShortcut(std::string text) override { previous = std::move(text); }
  engine::RichTextBox& preview() override { return box; }

  std::string counter, shortcutBox, previous;
  engine::RichTextBox box{"rtf_quicknick"};
};

}  // namespace tessalune::testing
