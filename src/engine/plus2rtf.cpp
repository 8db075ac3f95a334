#include "engine/plus2rtf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
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

constexpr std::string_view kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n";
constexpr std::string_view kBodyStart = "\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 ";
constexpr std::string_view kTail = "\r\n\\par }";

// The position of the first code's dot from `from` on, or the end of the text.
std::size_t findDot(std::string_view text, std::size_t from) {
  for (std::size_t p = text.find(kDotLead, from); p != std::string_view::npos;
       p = text.find(kDotLead, p + 1)) {
    if (startsWithAt(text, p, plus::kDot)) return p;
  }
  return text.size();
}

// Walks the codes of the rewritten text in order and tells `out` what the body says: text
// and words as they stand (text), and each colour word with the colour it names (colour).
// The walk is the same each time, so a first walk can gather the colour table that heads
// the document and a second write the body after it.
template <typename Out>
void walkBody(const std::string_view text, Out& out) {
  std::array<bool, 4> on{};  // bold, italic, underline, strike-through
  // Walks the code whose dot is at `dot`; returns where the text goes on.
  const auto walkCodeAt = [&](std::size_t dot) {
    const std::size_t codeChar = dot + plus::kDot.size();
    const char code = codeChar < text.size() ? text[codeChar] : '\0';
    for (std::size_t t = 0; t < 4; ++t) {
      if (code != kToggleCodes[t]) continue;
      out.text(on[t] ? kOffWords[t] : kOnWords[t]);
      if (on[t]) out.text(" "sv);
      on[t] = !on[t];
      return codeChar + 1;
    }
    if (code == '0') {
      for (std::size_t t = 0; t < 4; ++t) {
        if (on[t]) {
          out.text(kOffWords[t]);
          out.text(" "sv);
        }
        on[t] = false;
      }
      return codeChar + 1;
    }
    if (code == '$') {
      const CodeWindow window(text, dot);
      if (window.charAt(2) == '#' && window.charAt(9) == ',' && window.charAt(10) == '#') {
        out.colour("\\cf"sv, window.chars(2, 7));
        out.colour("\\highlight"sv, window.chars(10, 7));
        return window.at(17);
      }
      if (window.charAt(2) == '#') {
        out.colour("\\cf"sv, window.chars(2, 7));
        return window.at(9);
      }
      if (window.charAt(2) == ',' && window.charAt(3) == '#') {
        out.colour("\\highlight"sv, window.chars(3, 7));
        return window.at(10);
      }
    }
    return codeChar;  // a dot that starts no code is dropped
  };
  for (std::size_t i = 0; i < text.size();) {
    // Everything up to the next code's dot is text, written as it stands.
    const std::size_t dot = findDot(text, i);
    out.text(text.substr(i, dot - i));
    if (dot == text.size()) break;
    i = walkCodeAt(dot);
  }
  for (std::size_t t = 0; t < 4; ++t) {
    if (on[t]) out.text(kOffWords[t]);
  }
  out.text("\\cf0\\highlight0"sv);
}

// The first walk of a document written in parts: the colour table in order of first use,
// and each colour word's entry.
struct ColourWalk {
  void text(std::string_view) {}
  void colour(std::string_view, std::string_view colourText) {
    entries.push_back(static_cast<std::uint32_t>(table.indexOf(colourText)));
  }

  ColourTable table;
  std::vector<std::uint32_t> entries;
};

// The second walk: the body written on, each colour word with the entry the first walk
// found for it.
template <typename Out>
class BodyWrite {
 public:
  BodyWrite(Out& out, const std::vector<std::uint32_t>& entries) : out_(out), entries_(entries) {}

  void text(std::string_view piece) { out_.put(piece); }
  void colour(std::string_view word, std::string_view) { writeWord(out_, word, entries_[next_++]); }

  // A colour word: the word, the entry's number and a space.
  static void writeWord(Out& out, std::string_view word, std::size_t entry) {
    out.put(word);
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, entry).ptr;
    out.put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    out.put(' ');
  }

 private:
  Out& out_;
  const std::vector<std::uint32_t>& entries_;
  std::size_t next_ = 0;
};

// The body in one walk, each colour looked up as it comes, for a document held whole.
class BodyBuild {
 public:
  explicit BodyBuild(std::size_t textSize) : body_(textSize + textSize / 2) {}

  void text(std::string_view piece) { body_.put(piece); }
  void colour(std::string_view word, std::string_view colourText) {
    BodyWrite<ByteWriter>::writeWord(body_, word, table_.indexOf(colourText));
  }

  ColourTable& table() { return table_; }
  std::string take() && { return std::move(body_).take(); }

 private:
  ColourTable table_;
  ByteWriter body_;
};

// The text rewritten for the scan, made valid UTF-8 first.
std::string rewrittenText(std::string_view plusText) {
  std::string repaired;
  if (!isValidUtf8(plusText)) plusText = repaired = ensureUtf8(plusText);
  return rewriteForScan(plusText);
}

// The document, ready to be written: the rewritten text and its colour table. Everything
// that may fail is done here, so that a document that is written is whole.
class Document {
 public:
  explicit Document(std::string rewritten) : text_(std::move(rewritten)) { walkBody(text_, colours_); }

  template <typename Out>
  void write(Out& out) const {
    out.put(kHead);
    colours_.table.appendText(out);
    out.put(kBodyStart);
    BodyWrite<Out> body(out, colours_.entries);
    walkBody(text_, body);
    out.put(kTail);
  }

 private:
  std::string text_;
  ColourWalk colours_;
};

// Gathers the small pieces of a document into blocks, each handed on in turn.
class BlockWriter {
 public:
  explicit BlockWriter(const std::function<void(std::string_view)>& write) : write_(write) {}
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  void put(char c) {
    if (used_ == kBlock) flush();
    block_[used_++] = c;
  }
  void put(std::string_view piece) {
    if (kBlock - used_ < piece.size()) flush();
    if (piece.size() >= kBlock) {
      write_(piece);
      return;
    }
    std::memcpy(block_.get() + used_, piece.data(), piece.size());
    used_ += piece.size();
  }
  void flush() {
    if (used_ > 0) write_(std::string_view(block_.get(), used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  const std::function<void(std::string_view)>& write_;
  std::unique_ptr<char[]> block_{new char[kBlock]};
  std::size_t used_ = 0;
};

}  // namespace

std::string plus2rtf(std::string_view plusText) {
  // Held whole, the body is written in one walk and the colour table then put before it.
  // Each stage lets go of what the next no longer reads.
  std::string body;
  std::optional<ColourTable> table;
  {
    const std::string text = rewrittenText(plusText);
    BodyBuild build(text.size());
    walkBody(text, build);
    table.emplace(std::move(build.table()));
    body = std::move(build).take();
  }
  ByteWriter rtf(kHead.size() + table->textSize() + kBodyStart.size() + body.size() + kTail.size());
  rtf.put(kHead);
  table->appendText(rtf);
  table.reset();
  rtf.put(kBodyStart);
  rtf.put(body);
  rtf.put(kTail);
  return std::move(rtf).take();
}

void plus2rtf(std::string plusText, const std::function<void(std::string_view)>& write) {
  std::string rewritten = rewrittenText(plusText);
  std::string().swap(plusText);  // let go before the colour table grows
  const Document document(std::move(rewritten));
  BlockWriter out(write);
  document.write(out);
  out.flush();
}

std::string plus2rtf(std::string_view plusText, errors::FailureContext& ctx) {
  return errors::guardRoutine(ctx, "plus2rtf", std::string{}, [&] {
    ctx.step.reset();
    ctx.step.advance();
    return plus2rtf(plusText);
  });
}

bool plus2rtf(std::string plusText, errors::FailureContext& ctx,
              const std::function<void(std::string_view)>& write) {
  return errors::guardRoutine(ctx, "plus2rtf", false, [&] {
    ctx.step.reset();
    ctx.step.advance();
    plus2rtf(std::move(plusText), write);
    return true;
  });
}

}  // namespace tessalune::engine
