#include "engine/gradient.h"

#include <gtest/gtest.h>

#include "support/recording_error_report.h"

namespace tessalune::engine {
namespace {

constexpr ColourNumber kNavy = 0x800000;  // "#000080"
constexpr ColourNumber kSky = 0xFF8000;   // "#0080FF"
constexpr ColourNumber kRed = 0x0000FF;
constexpr ColourNumber kBlue = 0xFF0000;
constexpr GradientKind kLinear = GradientKind::Linear;
constexpr GradientKind kMirrored = GradientKind::Mirrored;

class GradientTest : public ::testing::Test {
 protected:
  std::vector<BoxColour> paint(const std::string& text, ColourNumber c1, ColourNumber c2, GradientKind kind) {
    box.setText(text);
    doGradient(box, 0, box.length(), c1, c2, box.length(), kind, PaintTarget::Text, ctx);
    std::vector<BoxColour> colours;
    for (const StyledChar& c : box.characters()) colours.push_back(c.format.textColour);
    return colours;
  }

  testing::TestFailures failures;
  RichTextBox box{"rtf_nick"};
  RichTextBox scratch{"rtf_mask"};
  PaintContext ctx{scratch, failures.context};
};

using Colours = std::vector<BoxColour>;

TEST_F(GradientTest, ShortRuns) {
  EXPECT_EQ(paint("a", kRed, kBlue, kLinear), Colours{kRed});
  EXPECT_EQ(paint("a", kRed, kBlue, kMirrored), Colours{kRed});
  EXPECT_EQ(paint("ab", kRed, kBlue, kLinear), (Colours{kRed, kBlue}));
  EXPECT_EQ(paint("ab", kRed, kBlue, kMirrored), (Colours{kRed, kRed}));
  EXPECT_EQ(paint("abc", kRed, kBlue, kMirrored), (Colours{kRed, kBlue, kRed}));
  EXPECT_EQ(paint("abcd", kRed, kBlue, kMirrored), (Colours{kRed, kBlue, kBlue, kRed}));
  EXPECT_EQ(paint("", kRed, kBlue, kLinear), Colours{});
  EXPECT_EQ(paint("ab", kNavy, kSky, kLinear), (Colours{kNavy, kSky}));
  // A mirrored odd run peaks in the middle.
  EXPECT_EQ(paint("abcde", 0x000000, 0xC8C8C8, kMirrored),
            (Colours{0, makeColour(100, 100, 100), 0xC8C8C8, makeColour(100, 100, 100), 0}));
}

// Black to white over 256 characters steps one grey level; falling components truncate.
TEST_F(GradientTest, StepsTruncateTheWholeSum) {
  const Colours rising = paint(std::string(256, 'x'), 0x000000, 0xFFFFFF, kLinear);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(rising[static_cast<std::size_t>(i)], makeColour(i, i, i)) << i;
  // Step -255/14: the third character is 255 - 36.43 = 218.57, truncated to 218.
  const Colours colours = paint(std::string(15, 'x'), 0xFFFFFF, 0x000000, kLinear);
  EXPECT_EQ(colours[2], makeColour(218, 218, 218));
  EXPECT_EQ(colours[14], makeColour(0, 0, 0));
}

TEST_F(GradientTest, PaintsTheBackgroundAndKeepsTextColours) {
  box.setText("ab");
  box.select(0, 2);
  box.setSelColor(kRed);
  doGradient(box, 0, 2, kNavy, kSky, 2, kLinear, PaintTarget::Background, ctx);
  EXPECT_EQ(box.characters()[0].format.background, kNavy);
  EXPECT_EQ(box.characters()[1].format.background, kSky);
  EXPECT_EQ(box.characters()[1].format.textColour, kRed);
}

TEST_F(GradientTest, PaintsOnlyTheRunAndRestoresTheCaret) {
  box.setText("abcdef");
  box.select(2, 3);
  doGradient(box, 2, 5, kRed, kBlue, 3, kLinear, PaintTarget::Text, ctx);
  EXPECT_EQ(box.characters()[1].format.textColour, std::nullopt);
  EXPECT_EQ(box.characters()[2].format.textColour, kRed);
  EXPECT_EQ(box.characters()[4].format.textColour, kBlue);
  EXPECT_EQ(box.characters()[5].format.textColour, std::nullopt);
  EXPECT_EQ(box.selStart(), 2);
}

TEST_F(GradientTest, UpdatesTheTargetBoxOnce) {
  box.setText("abcdef");
  int changes = 0;
  box.setChangeHandler([&] { ++changes; });
  doGradient(box, 0, 6, kRed, kBlue, 6, kMirrored, PaintTarget::Text, ctx);
  EXPECT_EQ(changes, 1);
}

TEST_F(GradientTest, ArgumentsBeyondSixteenBitsAreReportedAndLeaveTheBoxAlone) {
  box.setText("ab");
  doGradient(box, 0, 40000, kRed, kBlue, 40000, kLinear, PaintTarget::Text, ctx);
  ASSERT_EQ(failures.report.reports.size(), 1u);
  EXPECT_EQ(failures.report.reports[0].source, "doGradient");
  EXPECT_EQ(failures.report.reports[0].number, 6);
  EXPECT_EQ(box.characters()[0].format.textColour, std::nullopt);
}

TEST(GradientPreset, OrdersColoursAndKind) {
  EXPECT_EQ(presetGradient(GradientPreset::Grad1, kRed, kBlue).first, kRed);
  EXPECT_EQ(presetGradient(GradientPreset::Grad2, kRed, kBlue).first, kBlue);
  EXPECT_EQ(presetGradient(GradientPreset::Grad3, kRed, kBlue).kind, kMirrored);
  EXPECT_EQ(presetGradient(GradientPreset::Grad4, kRed, kBlue).second, kRed);
}

}  // namespace
}  // namespace tessalune::engine
