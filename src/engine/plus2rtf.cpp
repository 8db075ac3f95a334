#include "engine/plus2rtf.h"

#include <array>
#include <vector>

#include "engine/colour.h"
#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/replace.h"
#include "engine/utf8.h"

namespace tessalune::engine {

namespace {

using namespace std::string_view_literals;

std::u32string widen(std::string_view ascii) {
  return std::u32string(ascii.begin(), ascii.end());
}

std::u32string number(int k) {
  return widen(std::to_string(k));
}

// The colour table, starting with white; equal entries are written once and keep the
// index of their first use.
class ColourTable {
 public:
  ColourTable() { entries_.push_back(entryText(0xFFFFFF)); }

  std::size_t indexOf(std::u32string_view colourText) {
    const std::string entry = entryText(hex2rgb(encodeUtf8(colourText)));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i] == entry) return i + 1;
    }
    entries_.push_back(entry);
    return entries_.size();
  }

  std::string text() const {
    std::string out = "{\\colortbl ;";
    for (const std::string& e : entries_) out += e + ";";
    return out + "}";
  }

 private:
  static std::string entryText(ColourNumber c) {
    return "\\red" + std::to_string(redOf(c)) + "\\green" + std::to_string(greenOf(c)) + "\\blue" +
           std::to_string(blueOf(c));
  }

  std::vector<std::string> entries_;
};

// Palette indices become colour texts, highest first so that "·$1" never eats the start
// of "·$15".
void expandPaletteIndices(std::u32string& text) {
  const std::u32string colour = U"\u00B7$";
  const std::u32string background = U"\u00B7$,";
  for (int k = 15; k >= 0; --k) {
    const std::u32string value = widen(kPalette[static_cast<std::size_t>(k)]);
    replaceAll(text, colour + number(k), colour + value);
    replaceAll(text, background + number(k), background + value);
  }
}

// A hexadecimal text colour followed by a background given by palette index.
void expandBackgroundIndices(std::u32string& text) {
  const std::u32string opener = U"\u00B7$#";
  for (std::size_t p = text.find(opener); p != std::u32string::npos; p = text.find(opener, p + 1)) {
    if (p + 9 >= text.size() || text[p + 9] != U',') continue;
    for (int k = 15; k >= 0; --k) {
      const std::u32string digits = number(k);
      if (text.compare(p + 10, digits.size(), digits) != 0) continue;
      text.replace(p + 10, digits.size(), widen(kPalette[static_cast<std::size_t>(k)]));
      break;
    }
  }
}

struct StyleFlags {
  std::array<bool, 4> on{};  // bold, italic, underline, strike-through
};

constexpr std::array<char32_t, 4> kToggleCodes = {U'#', U'&', U'@', U'\''};
constexpr std::array<std::string_view, 4> kOnWords = {"\\b "sv, "\\i "sv, "\\ul "sv, "\\strike "sv};
constexpr std::array<std::string_view, 4> kOffWords = {"\\b0"sv, "\\i0"sv, "\\ul0"sv, "\\strike0"sv};

class BodyWriter {
 public:
  explicit BodyWriter(const std::u32string& text) : text_(text) {}

  std::string write() {
    const std::size_t length = text_.size();
    for (std::size_t i = 0; i < length;) i = writeAt(i);
    for (std::size_t t = 0; t < 4; ++t) {
      if (flags_.on[t]) body_ += kOffWords[t];
    }
    body_ += "\\cf0\\highlight0";
    return body_;
  }

  const ColourTable& table() const { return table_; }

 private:
  char32_t at(std::size_t i) const { return i < text_.size() ? text_[i] : U'\0'; }
  std::u32string_view slice(std::size_t start, std::size_t count) const {
    if (start >= text_.size()) return {};
    return std::u32string_view(text_).substr(start, count);
  }

  // Writes what starts at i; returns where the next item starts.
  std::size_t writeAt(std::size_t i) {
    const char32_t c = text_[i];
    if (c != plus::kDotChar) {
      appendUtf8(body_, c);
      return i + 1;
    }
    const char32_t code = at(i + 1);
    for (std::size_t t = 0; t < 4; ++t) {
      if (code != kToggleCodes[t]) continue;
      body_ += flags_.on[t] ? std::string(kOffWords[t]) + " " : std::string(kOnWords[t]);
      flags_.on[t] = !flags_.on[t];
      return i + 2;
    }
    if (code == U'0') {
      for (std::size_t t = 0; t < 4; ++t) {
        if (flags_.on[t]) body_ += std::string(kOffWords[t]) + " ";
        flags_.on[t] = false;
      }
      return i + 2;
    }
    if (code == U'$') {
      if (at(i + 2) == U'#' && at(i + 9) == U',' && at(i + 10) == U'#') {
        body_ += "\\cf" + std::to_string(table_.indexOf(slice(i + 2, 7))) + " ";
        body_ += "\\highlight" + std::to_string(table_.indexOf(slice(i + 10, 7))) + " ";
        return i + 17;
      }
      if (at(i + 2) == U'#') {
        body_ += "\\cf" + std::to_string(table_.indexOf(slice(i + 2, 7))) + " ";
        return i + 9;
      }
      if (at(i + 2) == U',' && at(i + 3) == U'#') {
        body_ += "\\highlight" + std::to_string(table_.indexOf(slice(i + 3, 7))) + " ";
        return i + 10;
      }
    }
    return i + 1;  // a dot that starts no code is dropped
  }

  const std::u32string& text_;
  ColourTable table_;
  StyleFlags flags_;
  std::string body_;
};

}  // namespace

std::string plus2rtf(std::string_view plusText) {
  std::u32string text = decodeUtf8(plusText);

  // RTF's own characters are escaped first; every line break then opens a paragraph.
  replaceAll(text, U"\\"sv, U"\\\\"sv);
  replaceAll(text, U"{"sv, U"\\{"sv);
  replaceAll(text, U"}"sv, U"\\}"sv);
  replaceAll(text, U"\r\n"sv, U"\r\n\\par "sv);

  expandPaletteIndices(text);
  expandBackgroundIndices(text);

  BodyWriter writer(text);
  const std::string body = writer.write();
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n" +
         writer.table().text() + "\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 " + body +
         "\r\n\\par }";
}

std::string plus2rtf(std::string_view plusText, errors::FailureContext& ctx) {
  return errors::guardRoutine(ctx, "plus2rtf", std::string{}, [&] {
    ctx.step.reset();
    ctx.step.advance();
    return plus2rtf(plusText);
  });
}

}  // namespace tessalune::engine
