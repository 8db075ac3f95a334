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
inline constexpr std::uint32_t kFlag = 0x80000000;  // set in every system colour, in no colour number
inline constexpr std::uint32_t kButtonFace = kFlag | 0x0F;
inline constexpr std::uint32_t k3DHighlight = kFlag | 0x14;
}  // namespace system_colour

// Whether a control's colour names a system colour rather than a colour number.
constexpr bool isSystemColour(std::uint32_t colour) {
  return (colour & system_colour::kFlag) != 0;
}

// Text shown by the control (a label's text is its caption).
// A label: a caption, in the system's button text or a colour of its own, normal or bold.
class Label : public Control {
 public:
  explicit Label(std::string name, ControlKind kind = ControlKind::Label) : Control(std::move(name), kind) {}

  // A colour number, or a system colour (high bit set).
  std::uint32_t foreColour() const { return foreColour_; }
  void setForeColour(std::uint32_t colour) { set(foreColour_, colour, Property::ForeColour); }
  bool bold() const { return bold_; }
  void setBold(bool bold) { set(bold_, bold, Property::FontWeight); }

 private:
  std::uint32_t foreColour_ = 0x80000012;  // button text
  bool bold_ = false;
};

// A frame or panel: it holds controls, and hiding or disabling it hides or disables them.
class Frame : public Control {
 public:
  explicit Frame(std::string name, ControlKind kind = ControlKind::Frame) : Control(std::move(name), kind) {}
};

// A colour area: its back colour is the colour it holds.
class ColourSwatch : public Control {
 public:
  explicit ColourSwatch(std::string name) : Control(std::move(name), ControlKind::Swatch) {}
};

class CheckBox : public Control {
 public:
  explicit CheckBox(std::string name) : Control(std::move(name), ControlKind::CheckBox) {}

  bool checked() const { return checked_; }
  // Sets the state without running the click handler (the state as loaded).
  void setChecked(bool checked) { set(checked_, checked, Property::Checked); }
  // A click: the state flips, then the handler runs.
  void click() override {
    const ActionScope action(*this);
    if (!enabled()) return;
    setChecked(!checked_);
    runClick();
  }
  // A state set as if by the user: the handler runs when the state changes.
  void choose(bool checked) {
    const ActionScope action(*this);
    if (checked_ == checked) return;
    setChecked(checked);
    runClick();
  }
  void userCheck(bool checked) {
    if (acceptsUser()) choose(checked);
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
  OptionButton(std::string name, OptionGroup& group)
      : Control(std::move(name), ControlKind::Option), group_(group) {
    group.add(*this);
  }

  bool selected() const { return selected_; }
  const OptionGroup& group() const { return group_; }
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
  explicit TextBox(std::string name) : Control(std::move(name), ControlKind::TextBox) {}
  const std::string& text() const { return text_; }
  // Typing or setting the text runs the change handler when it changes.
  void setText(std::string text) {
    const ActionScope action(*this);
    if (text == text_) return;
    text_ = std::move(text);
    runChange();
    notify(Property::Text);
  }
  void userType(std::string text) {
    if (acceptsUser()) setText(std::move(text));
  }

 private:
  std::string text_;
};

// A list of fixed entries with a selected position (-1: none).
class ComboBox : public Control {
 public:
  ComboBox(std::string name, std::vector<std::string> entries)
      : Control(std::move(name), ControlKind::Combo), entries_(std::move(entries)) {}

  const std::vector<std::string>& entries() const { return entries_; }
  int listIndex() const { return listIndex_; }
  // Sets the position without running the click handler (the position as loaded).
  void setListIndex(int index) { set(listIndex_, index, Property::ListIndex); }
  // Selecting an entry runs the click handler, as the user's choice does.
  void choose(int index) {
    const ActionScope action(*this);
    setListIndex(index);
    runClick();
  }
  void userChoose(int index) {
    if (acceptsUser() && index >= 0 && index < static_cast<int>(entries_.size())) choose(index);
  }

 private:
  std::vector<std::string> entries_;
  int listIndex_ = -1;
};

// A picture box drawn as a button, with a caption label; a press, release or click on the
// label acts on the button.
class OwnerDrawnButton : public Control {
 public:
  explicit OwnerDrawnButton(std::string name, ControlKind kind = ControlKind::OwnerDrawnButton)
      : Control(name, kind), label_(name + "_label") {
    label_.setContainer(this);  // the caption lies on the button: hidden with it
    label_.setPressHandler([this] { press(); });
    label_.setReleaseHandler([this] { release(); });
    label_.setClickHandler([this] { click(); });
  }
  Label& label() { return label_; }
  const Label& label() const { return label_; }
  // Places the button, its caption filling the face below a small top margin.
  void placeWithLabel(int left, int top, int width, int height) {
    place(left, top, width, height);
    label_.place(0, kLabelTop, width, height - kLabelTop);
  }

  // How far the caption sits below the face's top, in twips.
  static constexpr int kLabelTop = 60;

 private:
  Label label_;
};

// A rich-text box on a window. Every change of its text, formats or selection is told to
// its subscribers as Property::Content.
class RichTextControl : public Control {
 public:
  explicit RichTextControl(std::string name)
      : Control(name, ControlKind::RichTextBox), box_(std::move(name)) {
    box_.setEditObserver([this] { notify(Property::Content); });
  }
  engine::RichTextBox& box() { return box_; }
  const engine::RichTextBox& box() const { return box_; }
  // Whether Enter types a line break here (a message) rather than confirming (a nickname).
  bool multiLine() const { return multiLine_; }
  void setMultiLine(bool multiLine) { multiLine_ = multiLine; }

  // The user's typing, as a view forwards it: the selection becomes the text (line breaks
  // as CR LF). Refused, false, unless the box is shown, usable and not locked.
  bool userReplaceSelection(std::string_view text) {
    const ActionScope action(*this);
    if (!acceptsUser() || box_.locked()) return false;
    box_.replaceSelection(text);
    return true;
  }
  // Whether the user's editing reaches the box now: shown, usable and not locked.
  bool userEditable() const { return acceptsUser() && !box_.locked(); }
  // The user's Undo and Redo, refused as typing is.
  bool userUndo() {
    const ActionScope action(*this);
    if (!userEditable()) return false;
    box_.undo();
    return true;
  }
  bool userRedo() {
    const ActionScope action(*this);
    if (!userEditable()) return false;
    box_.redo();
    return true;
  }
  // The user's Backspace (forward false) or Delete: the selection goes, or without one the
  // character before or after the caret, a CR LF pair as one. Refused as typing is.
  bool userErase(bool forward) {
    const ActionScope action(*this);
    if (!acceptsUser() || box_.locked()) return false;
    if (box_.selLength() == 0) {
      const int start = box_.selStart();
      const engine::StyledText& chars = box_.characters();
      const auto at = [&](int i) { return chars[static_cast<std::size_t>(i)].ch; };
      if (forward) {
        if (start >= box_.length()) return true;
        const bool pair = at(start) == U'\r' && start + 1 < box_.length() && at(start + 1) == U'\n';
        box_.select(start, pair ? 2 : 1);
      } else {
        if (start == 0) return true;
        const bool pair = start >= 2 && at(start - 1) == U'\n' && at(start - 2) == U'\r';
        box_.select(start - (pair ? 2 : 1), pair ? 2 : 1);
      }
    }
    box_.replaceSelection({});
    return true;
  }

 private:
  engine::RichTextBox box_;
  bool multiLine_ = false;
};

inline void OptionButton::setSelected() {
  for (OptionButton* other : group_.members()) {
    if (other != this) other->set(other->selected_, false, Property::Selection);
  }
  set(selected_, true, Property::Selection);
}

inline void OptionButton::click() {
  const ActionScope action(*this);
  if (!enabled()) return;
  setSelected();
  runClick();
}

}  // namespace tessalune::ui
