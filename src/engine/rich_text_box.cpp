#include "engine/rich_text_box.h"

#include <algorithm>

#include "engine/graphemes.h"
#include "engine/utf8.h"

namespace tessalune::engine {

std::string RichTextBox::text() const {
  std::string out;
  out.reserve(chars_.size());
  for (std::size_t i = 0; i < chars_.size(); ++i) appendUtf8(out, chars_.charAt(i));
  return out;
}

void RichTextBox::setText(std::string_view text) {
  replaceRange(0, length(), text);
  selStart_ = selLength_ = 0;
  changed();
}

void RichTextBox::setTextRtf(std::string_view rtf) {
  aboutToChange();
  chars_ = readRtf(rtf);
  selStart_ = selLength_ = 0;
  typingFormatSet_ = false;
  changed();
}

namespace {

// Whether the box's RTF carries every character of text as it is. It does not carry a
// lone surrogate, a CR or LF outside a line break, or a colour beyond 24 bits.
bool rtfCarriesAsItIs(const StyledText& text) {
  const auto fits = [](const BoxColour& colour) { return !colour || *colour <= kRgbMask; };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text.charAt(i);
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    if (c == U'\r' && (i + 1 == text.size() || text.charAt(i + 1) != U'\n')) return false;
    if (c == U'\n' && (i == 0 || text.charAt(i - 1) != U'\r')) return false;
    const CharFormat& format = text.formatAt(i);
    if (!fits(format.textColour) || !fits(format.background)) return false;
  }
  return true;
}

}  // namespace

void RichTextBox::copyTextRtfFrom(const RichTextBox& source) {
  if (!rtfCarriesAsItIs(source.chars_)) {
    setTextRtf(source.textRtf());
    return;
  }
  // A line break has no format of its own in the RTF: it reads back with the format in
  // force, that of the last character before it.
  aboutToChange();
  chars_ = source.chars_;
  CharFormat inForce;
  for (std::size_t i = 0; i < chars_.size(); ++i) {
    if (isLineBreakChar(chars_.charAt(i))) {
      chars_.setFormat(i, inForce);
    } else {
      inForce = chars_.formatAt(i);
    }
  }
  selStart_ = selLength_ = 0;
  typingFormatSet_ = false;
  changed();
}

void RichTextBox::setSelStart(int start) {
  const int before = selStart_, beforeLength = selLength_;
  selStart_ = std::clamp(start, 0, length());
  selLength_ = 0;
  typingFormatSet_ = false;
  if (selStart_ != before || selLength_ != beforeLength) edited();
}

void RichTextBox::setSelLength(int length) {
  const int before = selLength_;
  selLength_ = std::clamp(length, 0, this->length() - selStart_);
  typingFormatSet_ = false;
  if (selLength_ != before) edited();
}

void RichTextBox::select(int start, int length) {
  setSelStart(start);
  setSelLength(length);
}

void RichTextBox::selectWholeClusters() {
  if (selLength_ == 0) return;
  const int end = selStart_ + selLength_;
  int start = selStart_, widenedEnd = length();
  GraphemeBreaker breaker;
  for (int i = 0; i < length(); ++i) {
    if (!breaker.startsCluster(chars_.charAt(static_cast<std::size_t>(i)))) continue;
    if (i <= selStart_) start = i;
    if (i >= end) {
      widenedEnd = i;
      break;
    }
  }
  select(start, widenedEnd - start);
}

std::string RichTextBox::selectedText() const {
  std::string out;
  for (int i = selStart_; i < selStart_ + selLength_; ++i)
    appendUtf8(out, chars_.charAt(static_cast<std::size_t>(i)));
  return out;
}

void RichTextBox::replaceSelection(std::string_view text) {
  replaceRange(selStart_, selLength_, text);
  changed();
}

void RichTextBox::setCharacters(StyledText characters, int caret) {
  aboutToChange();
  chars_ = std::move(characters);
  selStart_ = std::clamp(caret, 0, length());
  selLength_ = 0;
  typingFormatSet_ = false;
  changed();
}

void RichTextBox::replaceRange(int start, int length, std::string_view text) {
  aboutToChange();
  // New characters take the format of the first one they replace, else of the one
  // before the caret, else of the first character.
  CharFormat format = readFormat();
  if (length > 0) format = chars_.formatAt(static_cast<std::size_t>(start));
  StyledText inserted;
  LineBreakNormaliser(inserted).addText(text, format);
  const int insertedLength = static_cast<int>(inserted.size());
  chars_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), std::move(inserted));
  selStart_ = start + insertedLength;
  selLength_ = 0;
  typingFormatSet_ = false;
}

CharFormat RichTextBox::readFormat() const {
  if (selLength_ > 0) return chars_.formatAt(static_cast<std::size_t>(selStart_));
  if (typingFormatSet_) return typingFormat_;
  if (selStart_ > 0) return chars_.formatAt(static_cast<std::size_t>(selStart_ - 1));
  if (!chars_.empty()) return chars_.formatAt(0);
  return typingFormat_;
}

Tristate RichTextBox::readToggle(bool CharFormat::*toggle) const {
  if (selLength_ == 0) return readFormat().*toggle ? Tristate::True : Tristate::False;
  // Line breaks show no format: they count only when nothing else is selected.
  std::optional<bool> seen;
  bool mixed = false;
  const auto visit = [&](bool skipBreaks) {
    for (int i = selStart_; i < selStart_ + selLength_; ++i) {
      const std::size_t at = static_cast<std::size_t>(i);
      if (skipBreaks && isLineBreakChar(chars_.charAt(at))) continue;
      const bool on = chars_.formatAt(at).*toggle;
      if (seen && *seen != on) mixed = true;
      seen = on;
    }
  };
  visit(true);
  if (!seen) visit(false);
  if (mixed) return Tristate::Mixed;
  return seen.value_or(false) ? Tristate::True : Tristate::False;
}

template <typename Apply>
void RichTextBox::applyToSelection(Apply&& apply) {
  if (selLength_ == 0) {
    typingFormat_ = readFormat();
    apply(typingFormat_);
    typingFormatSet_ = true;
    return;
  }
  aboutToChange();
  chars_.changeFormats(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), apply);
  edited();
  stepMayEnd();
}

void RichTextBox::setSelColor(BoxColour colour) {
  applyToSelection([&](CharFormat& f) { f.textColour = colour; });
}

void RichTextBox::setSelBackColor(BoxColour colour) {
  applyToSelection([&](CharFormat& f) { f.background = colour; });
}

void RichTextBox::writeToggle(bool CharFormat::*toggle, bool on) {
  applyToSelection([&](CharFormat& f) { f.*toggle = on; });
}

void RichTextBox::changed() {
  ++changing_;
  if (onChange_) onChange_();
  edited();
  --changing_;
  stepMayEnd();
}

namespace {

// Steps kept for undo: enough for a session's editing, bounded for a long text's copies.
constexpr std::size_t kUndoSteps = 100;

}  // namespace

void RichTextBox::aboutToChange() {
  if (keepsHistory_ && !restoring_ && !stepStart_) stepStart_ = snapshot();
}

void RichTextBox::stepMayEnd() {
  if (changing_ > 0 || groups_ > 0 || !stepStart_) return;
  Snapshot start = std::move(*stepStart_);
  stepStart_.reset();
  if (start.chars == chars_) return;  // nothing the user would see undone
  if (undo_.size() == kUndoSteps) undo_.erase(undo_.begin());
  undo_.push_back(std::move(start));
  redo_.clear();
}

void RichTextBox::beginStep() {
  ++groups_;
}

void RichTextBox::endStep() {
  if (groups_ > 0) --groups_;
  stepMayEnd();
}

void RichTextBox::restore(Snapshot to) {
  restoring_ = true;
  chars_ = std::move(to.chars);
  selStart_ = std::clamp(to.selStart, 0, length());
  selLength_ = std::clamp(to.selLength, 0, length() - selStart_);
  typingFormatSet_ = false;
  changed();
  restoring_ = false;
}

bool RichTextBox::undo() {
  if (undo_.empty() || changing_ > 0) return false;
  redo_.push_back(snapshot());
  Snapshot to = std::move(undo_.back());
  undo_.pop_back();
  restore(std::move(to));
  return true;
}

bool RichTextBox::redo() {
  if (redo_.empty() || changing_ > 0) return false;
  undo_.push_back(snapshot());
  Snapshot to = std::move(redo_.back());
  redo_.pop_back();
  restore(std::move(to));
  return true;
}

}  // namespace tessalune::engine
