#pragma once

#include <string>

#include "store/quicknick_state.h"
#include "ui/controls.h"

namespace tessalune::ui {

// The QuickNick manager's controls as the store shows an entry in them.
class QuickNickControlsView final : public store::QuickNickView {
 public:
  QuickNickControlsView(Label& counter, TextBox& shortcut, Label& previousShortcut, RichTextControl& preview)
      : counter_(counter), shortcut_(shortcut), previousShortcut_(previousShortcut), preview_(preview) {}

  void setCounter(std::string text) override { counter_.setCaption(std::move(text)); }
  std::string shortcut() const override { return shortcut_.text(); }
  void setShortcut(std::string shortcut) override { shortcut_.setText(std::move(shortcut)); }
  std::string previousShortcut() const override { return previousShortcut_.caption(); }
  void setPreviousShortcut(std::string shortcut) override {
    previousShortcut_.setCaption(std::move(shortcut));
  }
  engine::RichTextBox& preview() override { return preview_.box(); }

 private:
  Label& counter_;            // lbl_nbQN
  TextBox& shortcut_;         // txt_shortcut
  Label& previousShortcut_;   // lbl_prevSC
  RichTextControl& preview_;  // rtf_quicknick
};

}  // namespace tessalune::ui
