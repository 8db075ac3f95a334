#include "engine/rich_text_box.h"

#include <algorithm>

#include "engine/utf8.h"

namespace tessalune::engine {

std::string RichTextBox::text() const {
  std::string out;
  out.reserve(chars_.size());
  for (const StyledChar& c : chars_) appendUtf8(out, c.ch);
  return out;
}

void RichTextBox::setText(std::string_view text) {
  replaceRange(0, length(), text);
  selStart_ = selLength_ = 0;
  changed();
}

void RichTextBox::setTextRtf(std::string_view rtf) {
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
    const StyledChar& c = text[i];
    if ((c.ch >= 0xD800 && c.ch <= 0xDFFF) || c.ch > 0x10FFFF) return false;
    if (c.ch == U'\r' && (i + 1 == text.size() || text[i + 1].ch != U'\n')) return false;
    if (c.ch == U'\n' && (i == 0 || text[i - 1].ch != U'\r')) return false;
    if (!fits(c.format.textColour) || !fits(c.format.background)) return false;
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
  chars_ = source.chars_;
  CharFormat inForce;
  for (StyledChar& c : chars_) {
    if (isLineBreakChar(c.ch)) {
      c.format = inForce;
    } else {
      inForce = c.format;
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

std::string RichTextBox::selectedText() const {
  std::string out;
  for (int i = selStart_; i < selStart_ + selLength_; ++i)
    appendUtf8(out, chars_[static_cast<std::size_t>(i)].ch);
  return out;
}

void RichTextBox::replaceSelection(std::string_view text) {
  replaceRange(selStart_, selLength_, text);
  changed();
}

void RichTextBox::setCharacters(StyledText characters, int caret) {
  chars_ = std::move(characters);
  selStart_ = std::clamp(caret, 0, length());
  selLength_ = 0;
  typingFormatSet_ = false;
  changed();
}

void RichTextBox::replaceRange(int start, int length, std::string_view text) {
  // New characters take the format of the first one they replace, else of the one
  // before the caret, else of the first character.
  CharFormat format = readFormat();
  if (length > 0) format = chars_[static_cast<std::size_t>(start)].format;
  StyledText inserted;
  for (char32_t c : decodeUtf8(text)) inserted.push_back({c, format});
  normaliseLineBreaks(inserted);
  const auto first = chars_.begin() + start;
  chars_.erase(first, first + length);
  chars_.insert(chars_.begin() + start, inserted.begin(), inserted.end());
  selStart_ = start + static_cast<int>(inserted.size());
  selLength_ = 0;
  typingFormatSet_ = false;
}

CharFormat RichTextBox::readFormat() const {
  if (selLength_ > 0) return chars_[static_cast<std::size_t>(selStart_)].format;
  if (typingFormatSet_) return typingFormat_;
  if (selStart_ > 0) return chars_[static_cast<std::size_t>(selStart_ - 1)].format;
  if (!chars_.empty()) return chars_.front().format;
  return typingFormat_;
}

Tristate RichTextBox::readToggle(bool CharFormat::*toggle) const {
  if (selLength_ == 0) return readFormat().*toggle ? Tristate::True : Tristate::False;
  // Line breaks show no format: they count only when nothing else is selected.
  std::optional<bool> seen;
  bool mixed = false;
  const auto visit = [&](bool skipBreaks) {
    for (int i = selStart_; i < selStart_ + selLength_; ++i) {
      const StyledChar& c = chars_[static_cast<std::size_t>(i)];
      if (skipBreaks && isLineBreakChar(c.ch)) continue;
      if (seen && *seen != c.format.*toggle) mixed = true;
      seen = c.format.*toggle;
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
  for (int i = selStart_; i < selStart_ + selLength_; ++i) apply(chars_[static_cast<std::size_t>(i)].format);
  edited();
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
  if (onChange_) onChange_();
  edited();
}

}  // namespace tessalune::engine
