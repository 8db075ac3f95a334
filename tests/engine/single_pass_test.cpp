// The conversions fuse runs of whole-text replacements into single passes for speed.
// These tests hold each fused pass to the replacements it stands for, applied one after
// another, on random texts built from the pieces that matter.
#include <gtest/gtest.h>

#include <random>

#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/plus2rtf_steps.h"
#include "engine/replace.h"
#include "engine/utf8.h"

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

TEST(SinglePass, EntityReplacementsMatchTheSequence) {
  const std::vector<std::string_view> pieces = {"&lt;", "&gt;", "&amp;", "&", "amp;", "lt;",
                                                "gt;",  ";",    "a",     "<", ">"};
  std::mt19937 rng(2);
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    std::string sequential = input;
    replaceAll(sequential, "&lt;"sv, "<"sv);
    replaceAll(sequential, "&gt;"sv, ">"sv);
    replaceAll(sequential, "&amp;"sv, "&"sv);
    std::string fused = input;
    replaceEach(fused, '&', {{"&lt;"sv, "<"sv}, {"&gt;"sv, ">"sv}, {"&amp;"sv, "&"sv}});
    ASSERT_EQ(fused, sequential) << input;
  }
}

std::u32string widen(std::string_view text) {
  return decodeUtf8(text);
}

// The steps before plus2rtf's scan, as whole-text replacements in their documented order.
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

TEST(SinglePass, Plus2RtfStepsMatchTheSequence) {
  const std::vector<std::string_view> pieces = {"\u00B7$",
                                                "\u00B7",
                                                "$",
                                                ",",
                                                "#",
                                                "1",
                                                "5",
                                                "0",
                                                "12",
                                                "F",
                                                "#FF0000",
                                                "\\",
                                                "{",
                                                "}",
                                                "\r",
                                                "\n",
                                                "\r\n",
                                                "a",
                                                "\u00B7$#123456,"};
  std::mt19937 rng(3);
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    std::u32string fused = plus2rtf_steps::escapeForRtf(widen(input));
    plus2rtf_steps::expandPaletteIndices(fused);
    plus2rtf_steps::expandBackgroundIndices(fused);
    ASSERT_EQ(encodeUtf8(fused), encodeUtf8(sequentialSteps(widen(input)))) << input;
  }
}

}  // namespace
}  // namespace tessalune::engine
