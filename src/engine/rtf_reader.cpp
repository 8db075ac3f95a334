#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "engine/cp1252.h"
#include "engine/styled_text.h"
#include "engine/utf8.h"

namespace tessalune::engine {

namespace {

using namespace std::string_view_literals;

// Destinations whose content is not document text.
constexpr std::array<std::string_view, 16> kSkippedDestinations = {
    "fonttbl"sv, "stylesheet"sv, "info"sv,      "pict"sv,     "object"sv,  "header"sv,
    "footer"sv,  "headerl"sv,    "headerr"sv,   "footerl"sv,  "footerr"sv, "footnote"sv,
    "field"sv,   "fldinst"sv,    "listtable"sv, "generator"sv};

// Deeper nesting than this is read as if its braces were not there.
constexpr std::size_t kMaxDepth = 256;

struct GroupState {
  CharFormat format;
  int unicodeSkip = 1;
  bool skipped = false;
  bool colourTable = false;
};

struct ControlWord {
  std::string_view name;
  bool hasParameter = false;
  std::int32_t parameter = 0;
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : rtf_(rtf) { text_.reserve(rtf.size()); }

  StyledText read() {
    while (pos_ < rtf_.size() && !finished_) step();
    dropFinalParagraphMark();
    return std::move(text_);
  }

 private:
  void step() {
    const char c = rtf_[pos_];
    if (c == '{') {
      ++pos_;
      openGroup();
    } else if (c == '}') {
      ++pos_;
      closeGroup();
    } else if (c == '\\') {
      ++pos_;
      readControl();
    } else if (c == '\r' || c == '\n' || c == '\0') {
      ++pos_;
    } else {
      readTextChar();
    }
  }

  void openGroup() {
    if (stack_.size() >= kMaxDepth) {
      ++flattened_;
    } else {
      stack_.push_back(state());
    }
    groupJustOpened_ = true;
  }

  void closeGroup() {
    groupJustOpened_ = false;
    if (flattened_ > 0) {
      --flattened_;
      return;
    }
    if (stack_.size() <= 2) {
      finished_ = true;  // the document's outermost group has closed
      return;
    }
    stack_.pop_back();
  }

  GroupState& state() { return stack_.back(); }

  void readControl() {
    if (pos_ >= rtf_.size()) return;
    const char c = rtf_[pos_];
    const bool opensGroup = groupJustOpened_;
    groupJustOpened_ = false;
    if (isLetter(c)) {
      const ControlWord word = readWord();
      applyWord(word, opensGroup);
      return;
    }
    ++pos_;
    switch (c) {
      case '\'':
        readHexEscape();
        break;
      case '\\':
      case '{':
      case '}':
        appendChar(static_cast<unsigned char>(c));
        break;
      case '*':
        state().skipped = true;
        break;
      case '~':
        appendChar(U'\u00A0');
        break;
      case '\r':
      case '\n':
        appendLineBreak();
        break;
      default:
        break;  // other control symbols carry no text
    }
  }

  ControlWord readWord() {
    ControlWord word;
    const std::size_t start = pos_;
    while (pos_ < rtf_.size() && isLetter(rtf_[pos_]) && pos_ - start < 32) ++pos_;
    word.name = rtf_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    std::int64_t value = 0;
    while (pos_ < rtf_.size() && rtf_[pos_] >= '0' && rtf_[pos_] <= '9') {
      word.hasParameter = true;
      value = std::min<std::int64_t>(value * 10 + (rtf_[pos_] - '0'), INT32_MAX);
      ++pos_;
    }
    word.parameter = static_cast<std::int32_t>(negative ? -value : value);
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    return word;
  }

  void applyWord(const ControlWord& word, bool opensGroup) {
    const std::string_view name = word.name;
    if (opensGroup && std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), name) !=
                          kSkippedDestinations.end()) {
      state().skipped = true;
      return;
    }
    if (name == "colortbl") {
      state().colourTable = true;
      return;
    }
    if (state().colourTable) {
      readColourComponent(word);
      return;
    }
    if (state().skipped) return;
    CharFormat& f = state().format;
    const bool on = !word.hasParameter || word.parameter != 0;
    if (name == "b") {
      f.bold = on;
    } else if (name == "i") {
      f.italic = on;
    } else if (name == "ul") {
      f.underline = on;
    } else if (name == "ulnone") {
      f.underline = false;
    } else if (name == "strike") {
      f.strike = on;
    } else if (name == "cf") {
      f.textColour = tableColour(word.parameter);
    } else if (name == "highlight" || name == "cb") {
      f.background = tableColour(word.parameter);
    } else if (name == "plain") {
      f = CharFormat{};
    } else if (name == "par" || name == "line") {
      appendLineBreak();
    } else if (name == "tab") {
      appendChar(U'\t');
    } else if (name == "uc") {
      state().unicodeSkip = std::clamp(word.parameter, 0, 16);
    } else if (name == "u") {
      appendUnicodeUnit(static_cast<std::uint16_t>(word.parameter));
      pendingSkip_ = state().unicodeSkip;
    } else if (name == "emdash") {
      appendChar(U'\u2014');
    } else if (name == "endash") {
      appendChar(U'\u2013');
    } else if (name == "lquote") {
      appendChar(U'\u2018');
    } else if (name == "rquote") {
      appendChar(U'\u2019');
    } else if (name == "ldblquote") {
      appendChar(U'\u201C');
    } else if (name == "rdblquote") {
      appendChar(U'\u201D');
    } else if (name == "bullet") {
      appendChar(U'\u2022');
    }
  }

  void readColourComponent(const ControlWord& word) {
    const int value = std::clamp(word.parameter, 0, 255);
    if (word.name == "red") {
      entry_.red = value, entry_.any = true;
    } else if (word.name == "green") {
      entry_.green = value, entry_.any = true;
    } else if (word.name == "blue") {
      entry_.blue = value, entry_.any = true;
    }
  }

  BoxColour tableColour(std::int32_t index) const {
    if (index <= 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
    return colours_[static_cast<std::size_t>(index)];
  }

  void readHexEscape() {
    if (pos_ + 2 > rtf_.size() || !isHexDigit(rtf_[pos_]) || !isHexDigit(rtf_[pos_ + 1])) return;
    const int byte = hexValue(rtf_[pos_]) * 16 + hexValue(rtf_[pos_ + 1]);
    pos_ += 2;
    if (consumeSkip()) return;
    appendChar(cp1252ToUnicode(static_cast<unsigned char>(byte)));
  }

  void readTextChar() {
    groupJustOpened_ = false;
    // One character of text: a UTF-8 sequence, or one byte read as Windows-1252.
    std::size_t end = pos_ + 1;
    while (end < rtf_.size() && end - pos_ < 4 && (static_cast<unsigned char>(rtf_[end]) & 0xC0) == 0x80)
      ++end;
    std::u32string decoded = decodeUtf8(rtf_.substr(pos_, end - pos_));
    if (decoded.size() != 1) {
      decoded = decodeUtf8(rtf_.substr(pos_, 1));
      end = pos_ + 1;
    }
    pos_ = end;
    const char32_t c = decoded[0];
    if (state().colourTable) {
      if (c == U';') finishColourEntry();
      return;
    }
    if (consumeSkip()) return;
    appendChar(c);
  }

  void finishColourEntry() {
    colours_.push_back(entry_.any ? BoxColour(makeColour(entry_.red, entry_.green, entry_.blue))
                                  : std::nullopt);
    entry_ = {};
  }

  bool consumeSkip() {
    if (pendingSkip_ == 0) return false;
    --pendingSkip_;
    return true;
  }

  void appendUnicodeUnit(std::uint16_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      highSurrogate_ = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (highSurrogate_ != 0) {
        appendChar(0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00));
      }
      highSurrogate_ = 0;
      return;
    }
    appendChar(unit);
  }

  void appendChar(char32_t c) {
    if (state().skipped || state().colourTable) return;
    highSurrogate_ = 0;
    lines_.add(c, state().format);
  }

  void appendLineBreak() {
    if (state().skipped || state().colourTable) return;
    lines_.add(U'\r', state().format);
    lines_.add(U'\n', state().format);
    lastParagraphEnd_ = text_.size();
  }

  // The control ends its document with a paragraph mark that is not part of the text.
  void dropFinalParagraphMark() {
    if (lastParagraphEnd_ != 0 && lastParagraphEnd_ == text_.size()) text_.truncate(text_.size() - 2);
  }

  static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool isHexDigit(char c) { return hexValue(c) >= 0; }
  static int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  struct ColourEntry {
    int red = 0, green = 0, blue = 0;
    bool any = false;
  };

  std::string_view rtf_;
  std::size_t pos_ = 0;
  std::vector<GroupState> stack_{GroupState{}};
  std::size_t flattened_ = 0;
  bool groupJustOpened_ = false;
  bool finished_ = false;
  std::vector<BoxColour> colours_;
  ColourEntry entry_;
  int pendingSkip_ = 0;
  std::uint16_t highSurrogate_ = 0;
  std::size_t lastParagraphEnd_ = 0;
  StyledText text_;
  LineBreakNormaliser lines_{text_};
};

bool looksLikeRtf(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && text.substr(start).starts_with("{\\rtf");
}

StyledText plainText(std::string_view text) {
  StyledText out;
  LineBreakNormaliser(out).addText(text, CharFormat{});
  return out;
}

}  // namespace

StyledText readRtf(std::string_view rtf) {
  if (!looksLikeRtf(rtf)) return plainText(rtf);
  return RtfReader(rtf).read();
}

}  // namespace tessalune::engine
