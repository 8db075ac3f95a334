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

  void setCounter(std::string text) override;
  std::string shortcut() const override;
  void setShortcut(std::string shortcut) override;
  std::string previousShortcut() const override;
  void setPreviousShortcut(std::string shortcut) override;
  engine::RichTextBox& preview() override;

 private:
  Label& counter_;            // lbl_nbQN
  TextBox& shortcut_;         // txt_shortcut
  Label& previousShortcut_;   // lbl_prevSC
  RichTextControl& preview_;  // rtf_quicknick
};

}  // namespace tessalune::ui
