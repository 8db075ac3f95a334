#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/styled_text.h"

namespace tessalune::engine {

// Reading a format over a selection: all characters agree, or they do not.
enum class Tristate { False, True, Mixed };

// A rich-text box: styled characters, a selection, and the operations the editor and the
// conversions perform on them. Positions and lengths count characters (code points); a
// line break is CR LF and takes two positions.
class RichTextBox {
 public:
  explicit RichTextBox(std::string name = {}) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }

  // Content. Writing either form replaces everything and puts the caret at the start.
  std::string text() const;
  void setText(std::string_view text);
  std::string textRtf() const { return writeRtf(chars_); }
  void setTextRtf(std::string_view rtf);
  // The same as setTextRtf(source.textRtf()), without writing and reading the RTF: the
  // conversions copy whole boxes this way many times.
  void copyTextRtfFrom(const RichTextBox& source);
  const StyledText& characters() const { return chars_; }
  int length() const { return static_cast<int>(chars_.size()); }

  // Selection. Setting the start collapses the selection there, as the control does;
  // both are clamped to the text.
  int selStart() const { return selStart_; }
  int selLength() const { return selLength_; }
  void setSelStart(int start);
  void setSelLength(int length);
  void select(int start, int length);
  // Widens a selection that starts or ends inside a grapheme cluster (the characters a
  // person sees as one: an emoji sequence, a letter and its accents) to the whole cluster,
  // so that a format never covers part of one. A caret stays where it is.
  void selectWholeClusters();
  std::string selectedText() const;
  void replaceSelection(std::string_view text);
  // Replaces every character at once, as a run of edits would leave them, with the caret
  // at caret; for conversions that rewrite the whole text in one pass.
  void setCharacters(StyledText characters, int caret);

  // Formats of the selection. Reading a colour gives that of the first selected
  // character (or the one before the caret); writing applies to every selected
  // character, or to what is typed next when nothing is selected.
  BoxColour selColor() const { return readFormat().textColour; }
  void setSelColor(BoxColour colour);
  BoxColour selBackColor() const { return readFormat().background; }
  void setSelBackColor(BoxColour colour);
  Tristate selBold() const { return readToggle(&CharFormat::bold); }
  Tristate selItalic() const { return readToggle(&CharFormat::italic); }
  Tristate selUnderline() const { return readToggle(&CharFormat::underline); }
  Tristate selStrikeThru() const { return readToggle(&CharFormat::strike); }
  void setSelBold(bool on) { writeToggle(&CharFormat::bold, on); }
  void setSelItalic(bool on) { writeToggle(&CharFormat::italic, on); }
  void setSelUnderline(bool on) { writeToggle(&CharFormat::underline, on); }
  void setSelStrikeThru(bool on) { writeToggle(&CharFormat::strike, on); }

  bool locked() const { return locked_; }
  void setLocked(bool locked) { locked_ = locked; }
  bool hasFocus() const { return hasFocus_; }
  void setFocus(bool focus = true) { hasFocus_ = focus; }

  // Undo and redo of the user's edits. A step is one outermost change of the characters or
  // their formats, with everything the change handler does to the box meanwhile (an edit and
  // the recolouring it starts are undone together); beginStep and endStep make one step of
  // several changes. A selection alone is no step; undoing restores the selection too.
  // Only a box that keeps its history records steps (the boxes a person edits, not the
  // conversions' scratch boxes, which are rewritten many times).
  void keepHistory(bool on) { keepsHistory_ = on; }
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  bool undo();
  bool redo();
  void beginStep();
  void endStep();

  // Called after every change of the characters (not of their formats), as a control's
  // change event is.
  void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }
  // Called after every change a view shows: the characters, their formats, the selection.
  void setEditObserver(std::function<void()> observer) { onEdit_ = std::move(observer); }

 private:
  CharFormat readFormat() const;
  Tristate readToggle(bool CharFormat::*toggle) const;
  void writeToggle(bool CharFormat::*toggle, bool on);
  template <typename Apply>
  void applyToSelection(Apply&& apply);
  void replaceRange(int start, int length, std::string_view text);
  void changed();
  // What a step returns to.
  struct Snapshot {
    StyledText chars;
    int selStart = 0;
    int selLength = 0;
  };
  Snapshot snapshot() const { return {chars_, selStart_, selLength_}; }
  // Before the characters or their formats change: the state the step started from.
  void aboutToChange();
  // After a change: the step ends once no change or group is open any more.
  void stepMayEnd();
  void restore(Snapshot to);

  std::string name_;
  StyledText chars_;
  int selStart_ = 0;
  int selLength_ = 0;
  CharFormat typingFormat_;  // the format of what is typed into an empty selection
  bool typingFormatSet_ = false;
  bool locked_ = false;
  bool hasFocus_ = false;
  void edited() {
    if (onEdit_) onEdit_();
  }

  std::function<void()> onChange_;
  std::function<void()> onEdit_;
  std::vector<Snapshot> undo_, redo_;
  std::optional<Snapshot> stepStart_;  // while a step is open
  int changing_ = 0;                   // changes on the stack, their handlers included
  int groups_ = 0;                     // beginStep without its endStep yet
  bool restoring_ = false;             // an undo or redo is being applied
  bool keepsHistory_ = false;
};

// The two background operations, named as the rest of the engine calls them.
inline void SetSelBackColor(BoxColour colour, RichTextBox& box) {
  box.setSelBackColor(colour);
}
inline BoxColour GetSelBackColor(const RichTextBox& box) {
  return box.selBackColor();
}

}  // namespace tessalune::engine
