#pragma once

#include <cstdint>

#include "ui/controls.h"

namespace tessalune::store {

// The QuickNick position the manager shows and the number of entries it knows of, both
// 16 bits wide (the store holds at most 32767 entries), and whether the last lookup or
// commit met the shortcut. Owned by the plug-in.
struct QuickNickState {
  std::int16_t index = 0;
  std::int16_t count = 0;
  bool shortcutMatched = false;
};

// The QuickNick manager's controls through which the store shows the current entry.
struct QuickNickControls {
  ui::Label& counter;            // lbl_nbQN: "index + 1 / count", "0 / 0" when empty
  ui::TextBox& shortcut;         // txt_shortcut
  ui::Label& previousShortcut;   // lbl_prevSC: the shortcut as last read or written
  ui::RichTextControl& preview;  // rtf_quicknick
};

}  // namespace tessalune::store
