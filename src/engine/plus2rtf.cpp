#include "engine/plus2rtf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "engine/byte_writer.h"
#include "engine/colour.h"
#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/replace.h"
#include "engine/rtf_colour_table.h"
#include "engine/utf8.h"

namespace tessalune::engine {

namespace {

using namespace std::string_view_literals;

// The text is valid UTF-8 throughout and every code is ASCII after its dot, so the codes
// are found byte by byte; positions that the conversion counts in characters are walked.
constexpr std::string_view kColourCode = plus::kColour;  // "·$"
constexpr char kDotLead = plus::kDot[0];

constexpr const auto& kIndexTexts = kPaletteIndexTexts;

// The byte positions of the characters after a code's dot, as far as the longest code
// ("·$#RRGGBB,#RRGGBB", 17 characters) reaches; past the end of the text they are its
// end. A code is nearly always followed by ASCII, where bytes are characters; beyond the
// ASCII run the characters are walked.
class CodeWindow {
 public:
  static constexpr std::size_t kChars = 17;

  CodeWindow(std::string_view text, std::size_t dot) : text_(text), first_(dot + plus::kDot.size()) {
    // Eight bytes at a time, up to the first that is not ASCII, then one at a time near the end.
    while (asciiRun_ < kChars && first_ + asciiRun_ + 8 <= text.size()) {
      std::uint64_t block = 0;
      std::memcpy(&block, text.data() + first_ + asciiRun_, 8);
      const std::uint64_t high = block & 0x8080808080808080ull;
      if (high != 0 && std::endian::native == std::endian::little) {
        asciiRun_ += static_cast<std::size_t>(std::countr_zero(high)) / 8;
        asciiRun_ = std::min(asciiRun_, kChars);
        return;
      }
      if (high != 0) break;
      asciiRun_ += 8;
    }
    while (asciiRun_ < kChars && first_ + asciiRun_ < text.size() &&
           static_cast<unsigned char>(text[first_ + asciiRun_]) < 0x80) {
      ++asciiRun_;
    }
    asciiRun_ = std::min(asciiRun_, kChars);
  }
  // The byte position of the n-th character after the dot (1 <= n <= 17).
  std::size_t at(std::size_t n) const {
    if (n - 1 <= asciiRun_) return std::min(text_.size(), first_ + n - 1);
    std::size_t position = first_ + asciiRun_;
    for (std::size_t k = asciiRun_ + 1; k < n && position < text_.size(); ++k) {
      position += utf8SequenceLength(text_[position]);
    }
    return std::min(text_.size(), position);
  }
  // That character (its first byte), or NUL past the end.
  char charAt(std::size_t n) const {
    const std::size_t position = at(n);
    return position < text_.size() ? text_[position] : '\0';
  }
  std::string_view chars(std::size_t n, std::size_t count) const {
    return text_.substr(at(n), at(n + count) - at(n));
  }

 private:
  std::string_view text_;
  std::size_t first_;         // the character after the dot
  std::size_t asciiRun_ = 0;  // how many characters from there on are ASCII
};

// The palette index written at `at`, the highest that fits first so that "1" never takes
// the start of "15".
const std::string_view* paletteIndexAt(std::string_view text, std::size_t at) {
  const auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  if (!digit(at)) return nullptr;
  if (text[at] == '1' && digit(at + 1) && text[at + 1] <= '5') return &kIndexTexts[10 + (text[at + 1] - '0')];
  return &kIndexTexts[static_cast<std::size_t>(text[at] - '0')];
}

std::string_view paletteColourOf(const std::string_view* index) {
  return kPalette[static_cast<std::size_t>(index - kIndexTexts.data())];
}

// The colour table always starts with white.
class ColourTable : public RtfColourTable {
 public:
  ColourTable() { RtfColourTable::indexOf(0xFFFFFF); }
  std::size_t indexOf(std::string_view colourText) { return RtfColourTable::indexOf(hex2rgb(colourText)); }
};

// The text rewritten for the scan, in one pass:
// - RTF's own characters are escaped and every line break opens a paragraph;
// - palette indices after "·$" and "·$," become colour texts, the highest index first so
//   that "·$1" never eats the start of "·$15";
// - a hexadecimal text colour followed by a background given by palette index
//   ("·$#RRGGBB,k") has the index, ten characters after the code's dot, made the palette
//   colour too. These codes are taken in turn, each on the text as the earlier ones left
//   it, once the twelve characters its check reads have been written.
// Each character is mapped on its own, and the escapes neither make nor break a code, so one
// pass does what the replacements in turn would.
std::string rewriteForScan(std::string_view text) {
  static constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> special{};
    for (char c : {'\\', '{', '}', '\r', kDotLead}) special[static_cast<unsigned char>(c)] = true;
    return special;
  }();
  ByteWriter out(text.size() + text.size() / 2);
  std::vector<std::size_t> pending;  // "·$#" codes written and not yet checked, in order
  std::size_t firstPending = 0;
  const auto settle = [&](bool all) {
    for (; firstPending < pending.size(); ++firstPending) {
      const std::string_view written = out.written();
      const CodeWindow code(written, pending[firstPending]);
      if (!all && code.at(11) >= written.size()) return;  // its second digit may be still to come
      if (code.charAt(9) != ',') continue;
      const std::string_view* index = paletteIndexAt(written, code.at(10));
      if (!index) continue;
      const std::string_view colour = paletteColourOf(index);
      const std::size_t at = code.at(10);
      out.replace(at, index->size(), colour);
      for (std::size_t k = firstPending + 1; k < pending.size(); ++k) {
        if (pending[k] > at) pending[k] += colour.size() - index->size();
      }
    }
  };
  std::size_t done = 0;
  const auto copyUpTo = [&](std::size_t end) {
    out.put(text.substr(done, end - done));
    done = end;
    settle(false);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    while (i < text.size() && !kSpecial[static_cast<unsigned char>(text[i])]) ++i;
    if (i == text.size()) break;
    switch (text[i]) {
      case '\\':
      case '{':
      case '}':
        copyUpTo(i);
        out.put('\\');
        break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') {
          copyUpTo(i);
          out.put("\r\n\\par "sv);
          done = ++i + 1;
        }
        break;
      default: {  // a dot
        if (!startsWithAt(text, i, kColourCode)) break;
        std::size_t digits = i + kColourCode.size();
        const bool backgroundOnly = digits < text.size() && text[digits] == ',';
        if (backgroundOnly) ++digits;
        const std::string_view* index = paletteIndexAt(text, digits);
        // A text colour written as "#RRGGBB", given or from the palette, waits for its check.
        if (!backgroundOnly && (index || (digits < text.size() && text[digits] == '#'))) {
          pending.push_back(out.size() + (i - done));
        }
        if (!index) break;
        copyUpTo(digits);
        out.put(paletteColourOf(index));
        done = digits + index->size();
        i = done - 1;
        break;
      }
    }
  }
  copyUpTo(text.size());
  settle(true);
  return std::move(out).take();
}

constexpr std::array<char, 4> kToggleCodes = {'#', '&', '@', '\''};
constexpr std::array<std::string_view, 4> kOnWords = {"\\b "sv, "\\i "sv, "\\ul "sv, "\\strike "sv};
constexpr std::array<std::string_view, 4> kOffWords = {"\\b0"sv, "\\i0"sv, "\\ul0"sv, "\\strike0"sv};

class BodyWriter {
 public:
  explicit BodyWriter(std::string_view text) : text_(text), body_(text.size() + text.size() / 2) {}

  std::string write() {
    for (std::size_t i = 0; i < text_.size();) {
      // Everything up to the next code's dot is text, written as it stands.
      const std::size_t dot = findDot(i);
      body_.put(text_.substr(i, dot - i));
      if (dot == text_.size()) break;
      i = writeCodeAt(dot);
    }
    for (std::size_t t = 0; t < 4; ++t) {
      if (on_[t]) body_.put(kOffWords[t]);
    }
    body_.put("\\cf0\\highlight0"sv);
    return std::move(body_).take();
  }

  const ColourTable& table() const { return table_; }

 private:
  std::size_t findDot(std::size_t from) const {
    for (std::size_t p = text_.find(kDotLead, from); p != std::string_view::npos;
         p = text_.find(kDotLead, p + 1)) {
      if (startsWithAt(text_, p, plus::kDot)) return p;
    }
    return text_.size();
  }

  void writeWord(std::string_view word, std::size_t index) {
    body_.put(word);
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, index).ptr;
    body_.put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    body_.put(' ');
  }

  // Writes the code whose dot is at `dot`; returns where the text goes on.
  std::size_t writeCodeAt(std::size_t dot) {
    const std::size_t codeChar = dot + plus::kDot.size();
    const char code = codeChar < text_.size() ? text_[codeChar] : '\0';
    for (std::size_t t = 0; t < 4; ++t) {
      if (code != kToggleCodes[t]) continue;
      body_.put(on_[t] ? kOffWords[t] : kOnWords[t]);
      if (on_[t]) body_.put(' ');
      on_[t] = !on_[t];
      return codeChar + 1;
    }
    if (code == '0') {
      for (std::size_t t = 0; t < 4; ++t) {
        if (on_[t]) {
          body_.put(kOffWords[t]);
          body_.put(' ');
        }
        on_[t] = false;
      }
      return codeChar + 1;
    }
    if (code == '$') {
      const CodeWindow window(text_, dot);
      if (window.charAt(2) == '#' && window.charAt(9) == ',' && window.charAt(10) == '#') {
        writeWord("\\cf"sv, table_.indexOf(window.chars(2, 7)));
        writeWord("\\highlight"sv, table_.indexOf(window.chars(10, 7)));
        return window.at(17);
      }
      if (window.charAt(2) == '#') {
        writeWord("\\cf"sv, table_.indexOf(window.chars(2, 7)));
        return window.at(9);
      }
      if (window.charAt(2) == ',' && window.charAt(3) == '#') {
        writeWord("\\highlight"sv, table_.indexOf(window.chars(3, 7)));
        return window.at(10);
      }
    }
    return codeChar;  // a dot that starts no code is dropped
  }

  std::string_view text_;
  ColourTable table_;
  std::array<bool, 4> on_{};  // bold, italic, underline, strike-through
  ByteWriter body_;
};

}  // namespace

std::string plus2rtf(std::string_view plusText) {
  std::string repaired;
  if (!isValidUtf8(plusText)) plusText = repaired = ensureUtf8(plusText);
  // Each stage lets go of what the next no longer reads: a text of megabytes is held about
  // twice, not four times.
  std::string body;
  std::optional<ColourTable> table;
  {
    const std::string text = rewriteForScan(plusText);
    BodyWriter writer(text);
    body = writer.write();
    table.emplace(writer.table());
  }
  constexpr std::string_view kHead =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n";
  constexpr std::string_view kBodyStart = "\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 ";
  constexpr std::string_view kTail = "\r\n\\par }";
  ByteWriter rtf(kHead.size() + table->textSize() + kBodyStart.size() + body.size() + kTail.size());
  rtf.put(kHead);
  table->appendText(rtf);
  table.reset();
  rtf.put(kBodyStart);
  rtf.put(body);
  rtf.put(kTail);
  return std::move(rtf).take();
}

std::string plus2rtf(std::string_view plusText, errors::FailureContext& ctx) {
  return errors::guardRoutine(ctx, "plus2rtf", std::string{}, [&] {
    ctx.step.reset();
    ctx.step.advance();
    return plus2rtf(plusText);
  });
}

}  // namespace tessalune::engine
