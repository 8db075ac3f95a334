// The conversions fuse runs of whole-text replacements into single passes for speed.
// These tests hold the fused passes, and the whole conversions, to the replacements they
// stand for, applied one after another, on random texts built from the pieces that matter
// (from a fixed seed; TESSALUNE_SEED gives another).
#include <gtest/gtest.h>

#include <random>

#include "engine/markup.h"
#include "engine/plus2rtf.h"
#include "engine/replace.h"
#include "engine/xml2plus.h"
#include "support/reference_conversions.h"
#include "support/test_seed.h"

namespace tessalune::engine {
namespace {

using namespace std::string_view_literals;
using testing::plus2rtfBySteps;
using testing::xml2plusBySteps;

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
  std::mt19937 rng(testing::testSeed("single pass: markers"));
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    std::string sequential = input;
    for (const Replacement& r : markup::kSimpleMarkerCodes) replaceAll(sequential, r.from, r.to);
    std::string fused = input;
    replaceEach(fused, '<', markup::kSimpleMarkerCodes);
    ASSERT_EQ(fused, sequential) << input;
  }
}

TEST(SinglePass, Xml2PlusMatchesItsSteps) {
  const std::vector<std::string_view> pieces = {
      // the document, its layout and the markers, whole and broken
      "<nick>", "</nick>", "<ni", "ck>", "\r\n", "\r", "\n", "\t", "<b/>", "<space/>", "<end/>", "<r/>",
      "<FG color=\"#FFFFFF\"/>", "<BG color=\"#000000\"/>", "<FG color=\"#12345", "<BG color=\"", "\"/>",
      "<FG", "<space/>color=\"", "#FF0000",
      // typed codes, entities and line markers, and text
      "\u00B7$", "\u00B7", "$", ",", "&lt;", "&gt;", "&amp;", "line/", "<line/>", "&lt;line/&gt;", "\u00E9",
      "\u20AC", "a", "<", ">"};
  std::mt19937 rng(testing::testSeed("single pass: xml2plus"));
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    ASSERT_EQ(xml2plus(input), xml2plusBySteps(input)) << input;
  }
}

TEST(SinglePass, Plus2RtfMatchesItsSteps) {
  const std::vector<std::string_view> pieces = {
      "\u00B7$", "\u00B7",   "$",         ",",       "#",       "1",
      "5",       "12",       "F",         "#FF0000", "#0080ff", "\u00B7$#123456,",
      "\u00B7#", "\u00B7$#", "123,",      "12,4",    "\u00B7&", "\u00B70",
      "\\",      "{",        "}",         "\r\n",    "\r",      "a",
      "\u00E9",  "\u20AC",   "\U0001F600"};
  std::mt19937 rng(testing::testSeed("single pass: plus2rtf"));
  for (int round = 0; round < kRounds; ++round) {
    const std::string input = randomText(rng, pieces);
    ASSERT_EQ(plus2rtf(input), plus2rtfBySteps(input)) << input;
  }
}

}  // namespace
}  // namespace tessalune::engine
