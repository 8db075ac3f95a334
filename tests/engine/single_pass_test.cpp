// The conversions fuse runs of whole-text replacements into single passes for speed.
// These tests hold the fused passes, and the whole conversions, to the replacements they
// stand for, applied one after another, on random texts built from the pieces that matter.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/colour.h"
#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/plus2rtf.h"
#include "engine/replace.h"
#include "engine/utf8.h"
#include "engine/xml2plus.h"

namespace tessalune::engine {
namespace {

using namespace std::string_view_literals;

std::string randomText(std::mt19937& rng, const std::vector<std::string_view>& pieces) {
  std::string text;
  const int count = std::uniform_int_distribution<int>(0, 24)(rng);
  for (int i = 0; i < count; ++i)
    text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(rng)];
  return text;
}

constexpr int kRounds = 20000;

TEST(SinglePass, MarkerReplacementsMatchTheSequence) {
  const std::vector<std::string_view> pieces = {"<b/>",   "<i/>",   "<u/>", "<s/>",  "<r/>", "<space/>",
                                                "<end/>", "<",      "/>",   "space", "b",    "end",
                                                " ",      "\u00B7", "#",    ">"};
  std::mt19937 rng(1);
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    std::string sequential = input;
    for (const Replacement& r : markup::kSimpleMarkerCodes) replaceAll(sequential, r.from, r.to);
    std::string fused = input;
    replaceEach(fused, '<', markup::kSimpleMarkerCodes);
    ASSERT_EQ(fused, sequential) << input;
  }
}

std::u32string widen(std::string_view text) {
  return decodeUtf8(text);
}

// The steps before plus2rtf's scan, as whole-text replacements in their order.
std::u32string sequentialSteps(std::u32string text) {
  replaceAll(text, U"\\"sv, U"\\\\"sv);
  replaceAll(text, U"{"sv, U"\\{"sv);
  replaceAll(text, U"}"sv, U"\\}"sv);
  replaceAll(text, U"\r\n"sv, U"\r\n\\par "sv);
  for (int k = 15; k >= 0; --k) {
    const std::u32string index = widen(std::to_string(k));
    const std::u32string colour = widen(kPalette[static_cast<std::size_t>(k)]);
    replaceAll(text, U"\u00B7$" + index, U"\u00B7$" + colour);
    replaceAll(text, U"\u00B7$," + index, U"\u00B7$," + colour);
  }
  for (std::size_t p = text.find(U"\u00B7$#"); p != std::u32string::npos; p = text.find(U"\u00B7$#", p + 1)) {
    if (p + 9 >= text.size() || text[p + 9] != U',') continue;
    for (int k = 15; k >= 0; --k) {
      const std::u32string index = widen(std::to_string(k));
      if (text.compare(p + 10, index.size(), index) != 0) continue;
      text.replace(p + 10, index.size(), widen(kPalette[static_cast<std::size_t>(k)]));
      break;
    }
  }
  return text;
}

// xml2plus as its ten steps, one whole-text replacement after another. The background
// markers that merge are marked with a private character until the palette step has seen
// their commas.
std::string xml2plusBySteps(std::string text) {
  constexpr std::u32string_view kMergedMark = U"\uE001";
  for (std::string_view gone : {"\r\n"sv, "\t"sv, markup::kRootOpen, markup::kRootClose})
    replaceAll(text, gone, ""sv);
  for (const Replacement& r : markup::kSimpleMarkerCodes) replaceAll(text, r.from, r.to);
  std::u32string wide = widen(text);
  const std::u32string fg = widen(markup::kFgOpen), bg = widen(markup::kBgOpen);
  std::vector<std::size_t> merged;
  for (std::size_t p = wide.find(fg); p != std::u32string::npos; p = wide.find(fg, p + 1)) {
    const std::size_t next = p + markup::kColourMarkerLength;
    if (next <= wide.size() && wide.compare(next, bg.size(), bg) == 0) merged.push_back(next);
  }
  for (auto p = merged.rbegin(); p != merged.rend(); ++p) wide.replace(*p, bg.size(), kMergedMark);
  text = encodeUtf8(wide);
  replaceAll(text, markup::kFgOpen, plus::kColour);
  replaceAll(text, markup::kBgOpen, plus::kBackgroundOnly);
  for (std::size_t k = 0; k < kPalette.size(); ++k) {
    for (const std::string& opening :
         {std::string(plus::kColour), std::string(plus::kBackgroundOnly), encodeUtf8(kMergedMark)}) {
      replaceAll(text, opening + std::string(kPalette[k]), opening + std::to_string(k));
    }
  }
  replaceAll(text, encodeUtf8(kMergedMark), ","sv);
  replaceAll(text, markup::kMarkerClose, ""sv);
  replaceAll(text, "&lt;"sv, "<"sv);
  replaceAll(text, "&gt;"sv, ">"sv);
  replaceAll(text, "&amp;"sv, "&"sv);
  replaceAll(text, markup::kLine, "\r\n"sv);
  return text;
}

TEST(SinglePass, Xml2PlusMatchesItsSteps) {
  const std::vector<std::string_view> pieces = {"<nick>",
                                                "</nick>",
                                                "<ni",
                                                "ck>",
                                                "\r\n",
                                                "\r",
                                                "\n",
                                                "\t",
                                                "<b/>",
                                                "<space/>",
                                                "<end/>",
                                                "<r/>",
                                                "<FG color=\"#FFFFFF\"/>",
                                                "<BG color=\"#000000\"/>",
                                                "<FG color=\"#12345",
                                                "<BG color=\"",
                                                "\"/>",
                                                "<FG",
                                                "<space/>color=\"",
                                                "#FF0000",
                                                "\u00B7$",
                                                "\u00B7",
                                                "$",
                                                ",",
                                                "&lt;",
                                                "&gt;",
                                                "&amp;",
                                                "line/",
                                                "<line/>",
                                                "&lt;line/&gt;",
                                                "\u00E9",
                                                "\u20AC",
                                                "a",
                                                "<",
                                                ">"};
  std::mt19937 rng(4);
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    ASSERT_EQ(xml2plus(input), xml2plusBySteps(input)) << input;
  }
}

// plus2rtf as its steps: the replacements, then the scan character by character.
std::string plus2rtfBySteps(std::string_view input) {
  const std::u32string text = sequentialSteps(widen(input));
  std::vector<ColourNumber> table = {0xFFFFFF};
  const auto index = [&](std::size_t from) {
    const ColourNumber colour = hex2rgb(std::u32string_view(text).substr(std::min(from, text.size()), 7));
    const auto found = std::find(table.begin(), table.end(), colour);
    if (found == table.end()) table.push_back(colour);
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
      appendUtf8(body, text[i++]);
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
  for (ColourNumber c : table) {
    colours += "\\red" + std::to_string(redOf(c)) + "\\green" + std::to_string(greenOf(c)) + "\\blue" +
               std::to_string(blueOf(c)) + ";";
  }
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n" + colours +
         "}\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 " + body +
         "\\cf0\\highlight0\r\n\\par }";
}

TEST(SinglePass, Plus2RtfMatchesItsSteps) {
  const std::vector<std::string_view> pieces = {
      "\u00B7$", "\u00B7",   "$",         ",",       "#",       "1",
      "5",       "12",       "F",         "#FF0000", "#0080ff", "\u00B7$#123456,",
      "\u00B7#", "\u00B7$#", "123,",      "12,4",    "\u00B7&", "\u00B70",
      "\\",      "{",        "}",         "\r\n",    "\r",      "a",
      "\u00E9",  "\u20AC",   "\U0001F600"};
  std::mt19937 rng(5);
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    ASSERT_EQ(plus2rtf(input), plus2rtfBySteps(input)) << input;
  }
}

}  // namespace
}  // namespace tessalune::engine
