#include "support/reference_conversions.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/colour.h"
#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/utf8.h"

namespace tessalune::testing {

namespace {

using namespace std::string_view_literals;

// Replaces every occurrence from left to right, going on after each replacement.
template <typename Char>
void replaceEvery(std::basic_string<Char>& text, std::basic_string_view<Char> from,
                  std::basic_string_view<Char> to) {
  for (std::size_t p = text.find(from); p != std::basic_string<Char>::npos;
       p = text.find(from, p + to.size())) {
    text.replace(p, from.size(), to);
  }
}
void replaceEvery(std::string& text, std::string_view from, std::string_view to) {
  replaceEvery<char>(text, from, to);
}
void replaceEvery(std::u32string& text, std::u32string_view from, std::u32string_view to) {
  replaceEvery<char32_t>(text, from, to);
}

std::u32string widen(std::string_view text) {
  return engine::decodeUtf8(text);
}

// --- plus2rtf ----------------------------------------------------------------------------

// The steps before plus2rtf's scan, as whole-text replacements in their order.
std::u32string plus2rtfReplacements(std::u32string text) {
  replaceEvery(text, U"\\"sv, U"\\\\"sv);
  replaceEvery(text, U"{"sv, U"\\{"sv);
  replaceEvery(text, U"}"sv, U"\\}"sv);
  replaceEvery(text, U"\r\n"sv, U"\r\n\\par "sv);
  for (int k = 15; k >= 0; --k) {
    const std::u32string index = widen(std::to_string(k));
    const std::u32string colour = widen(engine::kPalette[static_cast<std::size_t>(k)]);
    replaceEvery(text, U"\u00B7$" + index, U"\u00B7$" + colour);
    replaceEvery(text, U"\u00B7$," + index, U"\u00B7$," + colour);
  }
  for (std::size_t p = text.find(U"\u00B7$#"); p != std::u32string::npos; p = text.find(U"\u00B7$#", p + 1)) {
    if (p + 9 >= text.size() || text[p + 9] != U',') continue;
    for (int k = 15; k >= 0; --k) {
      const std::u32string index = widen(std::to_string(k));
      if (text.compare(p + 10, index.size(), index) != 0) continue;
      text.replace(p + 10, index.size(), widen(engine::kPalette[static_cast<std::size_t>(k)]));
      break;
    }
  }
  return text;
}

}  // namespace

std::string plus2rtfBySteps(std::string_view plus) {
  const std::u32string text = plus2rtfReplacements(widen(plus));
  std::vector<engine::ColourNumber> table = {0xFFFFFF};
  const auto index = [&](std::size_t from) {
    const engine::ColourNumber colour =
        engine::hex2rgb(std::u32string_view(text).substr(std::min(from, text.size()), 7));
    if (std::find(table.begin(), table.end(), colour) == table.end()) table.push_back(colour);
    return std::to_string(std::find(table.begin(), table.end(), colour) - table.begin() + 1) + " ";
  };
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : U'\0'; };
  constexpr std::u32string_view kToggles = U"#&@'";
  const std::array<std::string, 4> on = {"\\b ", "\\i ", "\\ul ", "\\strike "};
  const std::array<std::string, 4> off = {"\\b0", "\\i0", "\\ul0", "\\strike0"};
  std::array<bool, 4> flags{};
  std::string body;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != U'\u00B7') {
      engine::appendUtf8(body, text[i++]);
    } else if (const std::size_t t = kToggles.find(at(i + 1)); t != std::u32string_view::npos) {
      body += flags[t] ? off[t] + " " : on[t];
      flags[t] = !flags[t];
      i += 2;
    } else if (at(i + 1) == U'0') {
      for (std::size_t f = 0; f < 4; ++f) body += flags[f] ? off[f] + " " : "";
      flags = {};
      i += 2;
    } else if (at(i + 1) == U'$' && at(i + 2) == U'#' && at(i + 9) == U',' && at(i + 10) == U'#') {
      body += "\\cf" + index(i + 2);
      body += "\\highlight" + index(i + 10);
      i += 17;
    } else if (at(i + 1) == U'$' && at(i + 2) == U'#') {
      body += "\\cf" + index(i + 2);
      i += 9;
    } else if (at(i + 1) == U'$' && at(i + 2) == U',' && at(i + 3) == U'#') {
      body += "\\highlight" + index(i + 3);
      i += 10;
    } else {
      ++i;
    }
  }
  for (std::size_t f = 0; f < 4; ++f) body += flags[f] ? off[f] : "";
  std::string colours = "{\\colortbl ;";
  for (engine::ColourNumber c : table) {
    colours += "\\red" + std::to_string(engine::redOf(c)) + "\\green" + std::to_string(engine::greenOf(c)) +
               "\\blue" + std::to_string(engine::blueOf(c)) + ";";
  }
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n" + colours +
         "}\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 " + body +
         "\\cf0\\highlight0\r\n\\par }";
}

// The background markers that merge are marked with a private character until the palette
// step has seen their commas.
std::string xml2plusBySteps(std::string text) {
  namespace markup = engine::markup;
  namespace plus = engine::plus;
  constexpr std::u32string_view kMergedMark = U"\uE001";
  for (std::string_view gone : {"\r\n"sv, "\t"sv, markup::kRootOpen, markup::kRootClose})
    replaceEvery(text, gone, ""sv);
  for (const engine::Replacement& r : markup::kSimpleMarkerCodes) replaceEvery(text, r.from, r.to);
  std::u32string wide = widen(text);
  const std::u32string fg = widen(markup::kFgOpen), bg = widen(markup::kBgOpen);
  std::vector<std::size_t> merged;
  for (std::size_t p = wide.find(fg); p != std::u32string::npos; p = wide.find(fg, p + 1)) {
    const std::size_t next = p + markup::kColourMarkerLength;
    if (next <= wide.size() && wide.compare(next, bg.size(), bg) == 0) merged.push_back(next);
  }
  for (auto p = merged.rbegin(); p != merged.rend(); ++p) wide.replace(*p, bg.size(), kMergedMark);
  text = engine::encodeUtf8(wide);
  replaceEvery(text, markup::kFgOpen, plus::kColour);
  replaceEvery(text, markup::kBgOpen, plus::kBackgroundOnly);
  for (std::size_t k = 0; k < engine::kPalette.size(); ++k) {
    for (const std::string& opening :
         {std::string(plus::kColour), std::string(plus::kBackgroundOnly), engine::encodeUtf8(kMergedMark)}) {
      replaceEvery(text, opening + std::string(engine::kPalette[k]), opening + std::to_string(k));
    }
  }
  replaceEvery(text, engine::encodeUtf8(kMergedMark), ","sv);
  replaceEvery(text, markup::kMarkerClose, ""sv);
  replaceEvery(text, "&lt;"sv, "<"sv);
  replaceEvery(text, "&gt;"sv, ">"sv);
  replaceEvery(text, "&amp;"sv, "&"sv);
  replaceEvery(text, markup::kLine, "\r\n"sv);
  return text;
}

}  // namespace tessalune::testing
