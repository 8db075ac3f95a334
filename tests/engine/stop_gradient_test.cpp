// Gradients through stops: with two stops they are the two-colour gradients character for
// character (random lengths and colours from a fixed seed; TESSALUNE_SEED gives another); with
// more, their colours are pinned.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/gradient.h"
#include "engine/side_style.h"
#include "support/recording_error_report.h"
#include "support/test_seed.h"

namespace tessalune::engine {
namespace {

std::string hexList(const std::vector<ColourNumber>& colours) {
  std::string out;
  for (ColourNumber c : colours) out += (out.empty() ? "" : " ") + rgb2hex(c);
  return out;
}

TEST(StopGradient, TwoStopsAreTheTwoColourGradients) {
  std::mt19937 rng(testing::testSeed("stop gradients"));
  testing::TestFailures failures;
  RichTextBox box, scratch;
  PaintContext paint{scratch, failures.context};
  for (int round = 0; round < 500; ++round) {
    const int n = std::uniform_int_distribution<int>(1, round < 400 ? 40 : 1100)(rng);
    const ColourNumber c1 = rng() & kRgbMask, c2 = rng() & kRgbMask;
    const GradientKind kind = round % 2 ? GradientKind::Mirrored : GradientKind::Linear;
    box.setText(std::string(static_cast<std::size_t>(n), 'x'));
    doGradient(box, 0, n, c1, c2, n, kind, PaintTarget::Text, paint);
    std::vector<ColourNumber> painted;
    for (const StyledChar& c : box.characters()) painted.push_back(*c.format.textColour);
    ASSERT_EQ(stopGradientColours(n, StopGradient{{c1, c2}, kind}), painted)
        << "n " << n << ", " << rgb2hex(c1) << " to " << rgb2hex(c2) << ", kind " << static_cast<int>(kind);
  }
}

TEST(StopGradient, ThreeStopsAndTheRainbowArePinned) {
  const StopGradient rgb{{makeColour(0xFF, 0, 0), makeColour(0, 0xFF, 0), makeColour(0, 0, 0xFF)}};
  const StopGradient rainbow{{kRainbowStops.begin(), kRainbowStops.end()}};
  EXPECT_EQ(hexList(stopGradientColours(1, rgb)), "#FF0000");
  EXPECT_EQ(hexList(stopGradientColours(2, rgb)), "#FF0000 #0000FF");
  EXPECT_EQ(hexList(stopGradientColours(7, rgb)), "#FF0000 #AA5500 #55AA00 #00FF00 #00AA55 #0055AA #0000FF");
  EXPECT_EQ(hexList(stopGradientColours(7, StopGradient{rgb.stops, GradientKind::Mirrored})),
            "#FF0000 #7F7F00 #00FF00 #0000FF #00FF00 #7F7F00 #FF0000");
  EXPECT_EQ(hexList(stopGradientColours(1, rainbow)), "#FF0000");
  EXPECT_EQ(hexList(stopGradientColours(2, rainbow)), "#FF0000 #9400D3");
  EXPECT_EQ(hexList(stopGradientColours(7, rainbow)),
            "#FF0000 #FF7F00 #FFFF00 #00FF00 #0000FF #4B0082 #9400D3");
  // 50 characters: boundaries every 8 or so, each taking its stop exactly.
  const std::vector<ColourNumber> wide3 = stopGradientColours(50, rgb),
                                  wide7 = stopGradientColours(50, rainbow);
  EXPECT_EQ(hexList({wide3[0], wide3[12], wide3[25], wide3[37], wide3[49]}),
            "#FF0000 #847A00 #00FF00 #007F7F #0000FF");
  EXPECT_EQ(hexList({wide7[0], wide7[8], wide7[16], wide7[25], wide7[33], wide7[41], wide7[49]}),
            "#FF0000 #FF7F00 #FFFF00 #00FF00 #0000FF #4B0082 #9400D3");
}

// The command-line forms; the Plus! text of a rainbow word is pinned by the module's tests.
TEST(StopGradient, StylesParse) {
  const auto error = [](std::string_view text) { return parseSideStyle(text, false).error; };
  EXPECT_EQ(error("grad:#FF0000"), "a gradient goes through 2 to 10 colours, not 1");
  std::string eleven = "mirror:#123456";
  for (int i = 1; i < 11; ++i) eleven += ":#123456";
  EXPECT_EQ(error(eleven), "a gradient goes through 2 to 10 colours, not 11");
  EXPECT_EQ(error("grad:#FF0000:#12345G"), "'#12345G' is not a colour (#RRGGBB)");
  EXPECT_EQ(error("none"), "expected " + std::string(kSideStyleForms));
  EXPECT_TRUE(parseSideStyle("none", true).style);
  EXPECT_EQ(parseSideStyle("grad3:#000080:#0080FF", false).style->kind, SideStyle::Kind::Preset);
}

}  // namespace
}  // namespace tessalune::engine
