// Colouring never splits a character a person sees: inside an emoji sequence, a flag, a
// keycap, a letter and its accents or a Hangul syllable written as jamo, every character
// has the colour of the first, so the Plus! text has no code between them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/gradient.h"
#include "engine/graphemes.h"
#include "engine/plus2rtf.h"
#include "engine/side_style.h"
#include "platform/scripted_dialogs.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"
#include "support/recording_lifecycle.h"
#include "support/test_seed.h"

namespace tessalune::engine {
namespace {

const char* const kFamily = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // man ZWJ woman ZWJ girl
const char* const kFlag = "\U0001F1EB\U0001F1F7";                          // two regional indicators
const char* const kKeycap = "1\uFE0F\u20E3";
const char* const kSkinTone = "\U0001F44D\U0001F3FD";
const char* const kAccent = "e\u0301";
const char* const kJamo = "\u1100\u1161\u11A8";  // a syllable as leading, vowel and trailing jamo

// The first character of the cluster each character belongs to.
std::vector<std::size_t> clusterFirsts(const StyledText& chars) {
  std::vector<std::size_t> firsts;
  GraphemeBreaker breaker;
  for (std::size_t i = 0; i < chars.size(); ++i)
    firsts.push_back(breaker.startsCluster(chars.charAt(i)) ? i : firsts.back());
  return firsts;
}

class GraphemeColouring : public ::testing::Test {
 protected:
  // The text coloured as a command does, read back from its Plus! text. Empty when the text
  // did not come back whole.
  RichTextBox colourAndReadBack(const std::string& text, const std::string& fg, const std::string& bg) {
    RichTextBox autoBox, scratch, back;
    ConversionContext ctx{EditorMode::Text, false, dialogs, messages, failures.context, lifecycle, scratch};
    const std::string plus = colourWithStyles(text, *parseSideStyle(fg, false).style,
                                              *parseSideStyle(bg, true).style, autoBox, ctx);
    back.setTextRtf(plus2rtf(plus));
    EXPECT_EQ(back.text(), text) << plus;
    return back;
  }

  // Every character that does not begin a cluster has its first character's format.
  static void expectNoCodeInsideACluster(const RichTextBox& box, const std::string& what) {
    const StyledText& chars = box.characters();
    const std::vector<std::size_t> firsts = clusterFirsts(chars);
    for (std::size_t i = 0; i < chars.size(); ++i) {
      EXPECT_TRUE(chars.formatAt(i) == chars.formatAt(firsts[i])) << what << ", character " << i;
    }
  }

  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  testing::RecordingLifecycle lifecycle;
};

TEST_F(GraphemeColouring, WritesNoCodeInsideACluster) {
  for (const char* cluster : {kFamily, kFlag, kKeycap, kSkinTone, kAccent, kJamo}) {
    for (const char* fg : {"grad1:#FF0000:#0000FF", "grad3:#FF0000:#0000FF", "rainbow"}) {
      for (const std::string& text :
           {std::string(cluster), "a" + std::string(cluster) + "b", std::string(cluster) + cluster + "xyz"}) {
        expectNoCodeInsideACluster(colourAndReadBack(text, fg, "none"), text + " in " + fg);
      }
    }
  }
  expectNoCodeInsideACluster(
      colourAndReadBack(std::string("a") + kFamily + kFlag, "solid:#000000", "rainbow"),
      "a rainbow background");
}

// Random texts of Windows-1252 characters and clusters, random gradients (from a fixed seed;
// TESSALUNE_SEED gives another): every cluster's first character but a line break's keeps the
// colour the ramp gives its position, the others take it, and the Plus! text has no code
// inside a cluster.
TEST_F(GraphemeColouring, KeepsTheRampAtEachClustersFirstCharacter) {
  const std::vector<std::string> pieces = {"a",    "Z",     " ",   "\u00E9", "\u20AC",  "\u00A9", "\u00AE",
                                           "\r\n", kFamily, kFlag, kKeycap,  kSkinTone, kAccent,  kJamo};
  std::mt19937 rng(testing::testSeed("grapheme colouring"));
  RichTextBox box, scratch;
  PaintContext paint{scratch, failures.context};
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(1, 30)(rng);
    for (int i = 0; i < count; ++i) text += pieces[rng() % pieces.size()];
    StopGradient gradient;
    gradient.kind = rng() % 2 ? GradientKind::Mirrored : GradientKind::Linear;
    const std::size_t stops = round % 3 == 0 ? 2 : std::uniform_int_distribution<std::size_t>(2, 10)(rng);
    for (std::size_t i = 0; i < stops; ++i) gradient.stops.push_back(rng() & kRgbMask);

    box.setText(text);
    const int n = box.length();
    if (stops == 2) {
      doGradient(box, 0, n, gradient.stops[0], gradient.stops[1], n, gradient.kind, PaintTarget::Text, paint);
    } else {
      paintStopGradient(box, gradient, PaintTarget::Text, paint);
    }
    const std::vector<ColourNumber> ramp = stopGradientColours(n, gradient);
    const std::vector<std::size_t> firsts = clusterFirsts(box.characters());
    for (std::size_t i = 0; i < firsts.size(); ++i) {
      // A line break keeps the colour the box gives it, as it always has.
      if (isLineBreakChar(box.characters().charAt(firsts[i]))) continue;
      ASSERT_EQ(box.characters().formatAt(i).textColour, BoxColour{ramp[firsts[i]]})
          << "round " << round << ", character " << i << " of " << text;
    }

    std::string fg = gradient.kind == GradientKind::Mirrored ? "mirror" : "grad";
    for (ColourNumber stop : gradient.stops) fg += ":" + rgb2hex(stop);
    expectNoCodeInsideACluster(colourAndReadBack(text, fg, "none"), "round " + std::to_string(round));
  }
}

}  // namespace
}  // namespace tessalune::engine
