#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/rich_text_box.h"
#include "ui/control.h"

namespace tessalune::ui {

// System colours by role, as a control's back colour may name them: the high bit set and
// the role's number below it. Colour helpers mask them off before reading components.
namespace system_colour {
inline constexpr std::uint32_t kButtonFace = 0x8000000F;
inline constexpr std::uint32_t k3DHighlight = 0x80000014;
}  // namespace system_colour

// Text shown by the control (a label's text is its caption).
class Label : public Control {
 public:
  using Control::Control;
};

// A frame or container: it groups controls, and disabling it disables what it holds.
class Frame : public Control {
 public:
  using Control::Control;
};

// A colour area: its back colour is the colour it holds.
class ColourSwatch : public Control {
 public:
  using Control::Control;
};

class CheckBox : public Control {
 public:
  using Control::Control;

  bool checked() const { return checked_; }
  // Sets the state without running the click handler (the state as loaded).
  void setChecked(bool checked) { checked_ = checked; }
  // A user's click: the state flips, then the handler runs.
  void click() override {
    if (!enabled()) return;
    checked_ = !checked_;
    runClick();
  }
  // A state set as if by the user: the handler runs when the state changes.
  void choose(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    runClick();
  }

 private:
  bool checked_ = false;
};

class OptionButton;

// Option buttons of which exactly one is selected.
class OptionGroup {
 public:
  void add(OptionButton& option) { members_.push_back(&option); }
  const std::vector<OptionButton*>& members() const { return members_; }

 private:
  std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
 public:
  OptionButton(std::string name, OptionGroup& group) : Control(std::move(name)), group_(group) {
    group.add(*this);
  }

  bool selected() const { return selected_; }
  // Selects this option and clears the others of its group, without the click handler.
  void setSelected();
  // A user's click (or a choice made as if by the user): selects, then runs the handler.
  void click() override;

 private:
  OptionGroup& group_;
  bool selected_ = false;
};

class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  // Typing or setting the text runs the change handler when it changes.
  void setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    runChange();
  }

 private:
  std::string text_;
};

// A list of fixed entries with a selected position (-1: none).
class ComboBox : public Control {
 public:
  ComboBox(std::string name, std::vector<std::string> entries)
      : Control(std::move(name)), entries_(std::move(entries)) {}

  const std::vector<std::string>& entries() const { return entries_; }
  int listIndex() const { return listIndex_; }
  // Sets the position without running the click handler (the position as loaded).
  void setListIndex(int index) { listIndex_ = index; }
  // Selecting an entry runs the click handler, as the user's choice does.
  void choose(int index) {
    listIndex_ = index;
    runClick();
  }

 private:
  std::vector<std::string> entries_;
  int listIndex_ = -1;
};

// A picture box drawn as a button, with a caption label; a press, release or click on the
// label acts on the button.
class OwnerDrawnButton : public Control {
 public:
  explicit OwnerDrawnButton(std::string name) : Control(name), label_(name + "_label") {
    label_.setPressHandler([this] { press(); });
    label_.setReleaseHandler([this] { release(); });
    label_.setClickHandler([this] { click(); });
  }
  Label& label() { return label_; }

 private:
  Label label_;
};

// A rich-text box on a window.
class RichTextControl : public Control {
 public:
  explicit RichTextControl(std::string name) : Control(name), box_(std::move(name)) {}
  engine::RichTextBox& box() { return box_; }
  const engine::RichTextBox& box() const { return box_; }

 private:
  engine::RichTextBox box_;
};

inline void OptionButton::setSelected() {
  for (OptionButton* other : group_.members()) other->selected_ = false;
  selected_ = true;
}

inline void OptionButton::click() {
  if (!enabled()) return;
  setSelected();
  runClick();
}

}  // namespace tessalune::ui
