#include "engine/plus2rtf.h"
#include "engine/plus2rtf_steps.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "engine/colour.h"
#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/utf8.h"

namespace tessalune::engine {

namespace {

using namespace std::string_view_literals;

std::u32string widen(std::string_view ascii) {
  return std::u32string(ascii.begin(), ascii.end());
}

constexpr std::array<std::u32string_view, 16> kIndexTexts = {
    U"0", U"1", U"2", U"3", U"4", U"5", U"6", U"7", U"8", U"9", U"10", U"11", U"12", U"13", U"14", U"15"};

// The palette colours as wide text (immutable, built on first use).
const std::array<std::u32string, 16>& widePalette() {
  static const std::array<std::u32string, 16> palette = [] {
    std::array<std::u32string, 16> wide;
    for (std::size_t k = 0; k < wide.size(); ++k) wide[k] = widen(kPalette[k]);
    return wide;
  }();
  return palette;
}

// The colour table, starting with white; equal entries are written once and keep the
// index of their first use.
class ColourTable {
 public:
  std::size_t indexOf(std::u32string_view colourText) {
    const ColourNumber colour = hex2rgb(colourText);
    // Looked up by colour: a text with many distinct colours stays linear.
    const auto [entry, added] = indexes_.try_emplace(colour, entries_.size() + 1);
    if (added) entries_.push_back(colour);
    return entry->second;
  }

  std::string text() const {
    std::string out = "{\\colortbl ;";
    for (ColourNumber c : entries_) {
      out += "\\red" + std::to_string(redOf(c)) + "\\green" + std::to_string(greenOf(c)) + "\\blue" +
             std::to_string(blueOf(c)) + ";";
    }
    return out + "}";
  }

 private:
  std::vector<ColourNumber> entries_{0xFFFFFF};
  std::unordered_map<ColourNumber, std::size_t> indexes_{{0xFFFFFF, 1}};
};

}  // namespace

namespace plus2rtf_steps {

// RTF's own characters are escaped first; every line break then opens a paragraph. Each
// character is mapped on its own, so one pass does what the replacements in turn would.
std::u32string escapeForRtf(std::u32string_view text) {
  std::u32string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c == U'\\' || c == U'{' || c == U'}') out.push_back(U'\\');
    out.push_back(c);
    if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
      out += U"\n\\par ";
      ++i;
    }
  }
  return out;
}

// Palette indices become colour texts, trying the highest index first so that "·$1"
// never eats the start of "·$15" (as replacing index 15 down to 0 in turn does).
void expandPaletteIndices(std::u32string& text) {
  const std::u32string opener = U"\u00B7$";
  std::u32string out;
  out.reserve(text.size() + text.size() / 4);
  std::size_t done = 0;
  for (std::size_t p = text.find(opener); p != std::u32string::npos; p = text.find(opener, p + 1)) {
    std::size_t digits = p + opener.size();
    if (digits < text.size() && text[digits] == U',') ++digits;
    for (int k = 15; k >= 0; --k) {
      const std::u32string_view index = kIndexTexts[static_cast<std::size_t>(k)];
      if (text.compare(digits, index.size(), index) != 0) continue;
      out.append(text, done, digits - done);
      out.append(widePalette()[static_cast<std::size_t>(k)]);
      done = digits + index.size();
      break;
    }
  }
  if (done == 0) return;
  out.append(text, done, std::u32string::npos);
  text.swap(out);
}

// A hexadecimal text colour followed by a background given by palette index.
//
// Each replacement changes the text only from ten characters after its code onwards, and
// the next search starts one character after the code; the result is built in one
// forward pass in which the input is copied only as far as the search has looked.
void expandBackgroundIndices(std::u32string& text) {
  constexpr std::u32string_view opener = U"\u00B7$#";
  std::u32string out;
  out.reserve(text.size() + text.size() / 4);
  std::size_t copied = 0;  // text[copied..] follows out
  const auto reach = [&](std::size_t end) {
    if (out.size() >= end || copied >= text.size()) return;
    const std::size_t n = std::min(end - out.size(), text.size() - copied);
    out.append(text, copied, n);
    copied += n;
  };
  for (std::size_t p = 0;; ++p) {
    reach(p + opener.size());
    if (p + opener.size() > out.size()) break;
    if (std::u32string_view(out).substr(p, opener.size()) != opener) continue;
    reach(p + 12);
    if (p + 9 >= out.size() || out[p + 9] != U',') continue;
    for (int k = 15; k >= 0; --k) {
      const std::u32string_view digits = kIndexTexts[static_cast<std::size_t>(k)];
      if (std::u32string_view(out).substr(p + 10, digits.size()) != digits) continue;
      out.replace(p + 10, digits.size(), widePalette()[static_cast<std::size_t>(k)]);
      break;
    }
  }
  out.append(text, copied, std::u32string::npos);
  text.swap(out);
}

}  // namespace plus2rtf_steps

namespace {

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
  std::u32string text = plus2rtf_steps::escapeForRtf(decodeUtf8(plusText));
  plus2rtf_steps::expandPaletteIndices(text);
  plus2rtf_steps::expandBackgroundIndices(text);

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
