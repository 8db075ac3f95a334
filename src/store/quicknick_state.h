#pragma once

#include <cstdint>
#include <string>

#include "engine/rich_text_box.h"

namespace tessalune::store {

// The QuickNick position the manager shows and the number of entries it knows of, both
// 16 bits wide (the store holds at most 32767 entries), and whether the last lookup or
// commit met the shortcut. Owned by the plug-in.
struct QuickNickState {
  std::int16_t index = 0;
  std::int16_t count = 0;
  bool shortcutMatched = false;
};

// The manager's counter for the state: "index + 1 / count", "0 / 0" when empty.
inline std::string counterText(const QuickNickState& state) {
  if (state.count == 0) return "0 / 0";
  return std::to_string(state.index + 1) + " / " + std::to_string(state.count);
}

// What the store shows the current entry in: the QuickNick manager implements it over its
// controls.
class QuickNickView {
 public:
  // "index + 1 / count", "0 / 0" when empty.
  virtual void setCounter(std::string text) = 0;
  // The shortcut box, which the user edits.
  virtual std::string shortcut() const = 0;
  virtual void setShortcut(std::string shortcut) = 0;
  // The shortcut as last read or written, against which an edit is compared.
  virtual std::string previousShortcut() const = 0;
  virtual void setPreviousShortcut(std::string shortcut) = 0;
  // The entry's body as rich text.
  virtual engine::RichTextBox& preview() = 0;

 protected:
  ~QuickNickView() = default;
};

}  // namespace tessalune::store
