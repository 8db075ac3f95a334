#include "ui/gdi/gradient_fill.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessalune::ui::gdi {
namespace {

using engine::makeColour;

constexpr ColourNumber kRed = 0x0000FF;
constexpr ColourNumber kBlue = 0xFF0000;
constexpr ColourNumber kBlack = 0x000000;
constexpr ColourNumber kWhite = 0xFFFFFF;
constexpr engine::GradientKind kLinear = engine::GradientKind::Linear;
constexpr engine::GradientKind kMirrored = engine::GradientKind::Mirrored;

TEST(GdiImage, RoundsSizesToTheNearestPixelHalvesToEven) {
  struct Case {
    int numerator, denominator, expected;
  };
  for (const Case& c : {Case{105, 2, 52}, Case{107, 2, 54}, Case{1, 2, 0}, Case{3, 2, 2}, Case{-3, 2, -2},
                        Case{-5, 2, -2}, Case{7, 15, 0}, Case{8, 15, 1}, Case{1440, 15, 96}}) {
    EXPECT_EQ(roundHalfToEven(c.numerator, c.denominator), c.expected) << c.numerator << "/" << c.denominator;
  }
  EXPECT_EQ(pixelSize({1200, 352}), (PixelSize{80, 23}));
}

TEST(GdiImage, StartsBlackAndChecksItsBounds) {
  Image image(3, 2);
  EXPECT_EQ(image.pixel(2, 1), kBlack);
  image.setPixel(2, 1, 0x80123456);  // only the RGB bytes are kept
  EXPECT_EQ(image.pixel(2, 1), 0x123456U);
  EXPECT_THROW(image.pixel(3, 0), std::out_of_range);
  EXPECT_THROW(image.setPixel(0, -1, kRed), std::out_of_range);
  EXPECT_EQ(Image(-4, 2).size(), (PixelSize{0, 2}));
}

TEST(FillGradientRect, LinearStartsExactlyOnColour1AndStepsBy16BitChannels) {
  Image image(3, 2);
  fillGradientRect(kBlack, kWhite, image, 3, 2, kLinear, FillDirection::Horizontal);
  // Pixel i of 3: (65280 * i / 3) >> 8.
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(image.pixel(0, y), kBlack);
    EXPECT_EQ(image.pixel(1, y), makeColour(85, 85, 85));
    EXPECT_EQ(image.pixel(2, y), makeColour(170, 170, 170));
  }
  // Falling channels: 65280 - 65280 * i / 3.
  fillGradientRect(kWhite, kBlack, image, 3, 2, kLinear, FillDirection::Horizontal);
  EXPECT_EQ(image.pixel(0, 0), kWhite);
  EXPECT_EQ(image.pixel(1, 0), makeColour(170, 170, 170));
  EXPECT_EQ(image.pixel(2, 1), makeColour(85, 85, 85));
  // Vertical: from top to bottom.
  Image tall(2, 3);
  fillGradientRect(kBlack, kWhite, tall, 2, 3, kLinear, FillDirection::Vertical);
  for (int x = 0; x < 2; ++x) {
    EXPECT_EQ(tall.pixel(x, 0), kBlack);
    EXPECT_EQ(tall.pixel(x, 1), makeColour(85, 85, 85));
    EXPECT_EQ(tall.pixel(x, 2), makeColour(170, 170, 170));
  }
}

TEST(FillGradientRect, ChannelsKeepTheirOwnBytes) {
  Image image(256, 1);
  fillGradientRect(kRed, kBlue, image, 256, 1, kLinear, FillDirection::Horizontal);
  EXPECT_EQ(image.pixel(0, 0), kRed);
  EXPECT_EQ(image.pixel(128, 0), makeColour(127, 0, 127));  // both channels 32640, 127.5 * 256
  EXPECT_EQ(image.pixel(255, 0), makeColour(0, 0, 254));
}

TEST(FillGradientRect, MirroredOf105PutsColour2AtX52) {
  Image image(105, 2);
  fillGradientRect(kRed, kBlue, image, 105, 2, kMirrored, FillDirection::Horizontal);
  EXPECT_EQ(image.pixel(0, 1), kRed);
  EXPECT_EQ(image.pixel(52, 0), kBlue);
  EXPECT_EQ(image.pixel(52, 1), kBlue);
  EXPECT_NE(image.pixel(51, 0), kBlue);
  // The right half runs from colour2 at 52 toward colour1 over 53 pixels: 65280 * 52 / 53 = 64048.
  EXPECT_EQ(image.pixel(104, 0), makeColour(250, 0, 4));
}

TEST(FillGradientRect, MirroredVerticalRunsTopToBottomInBothHalves) {
  Image mirrored(5, 4), linear(5, 4);
  fillGradientRect(kRed, kBlue, mirrored, 5, 4, kMirrored, FillDirection::Vertical);
  fillGradientRect(kRed, kBlue, linear, 5, 4, kLinear, FillDirection::Vertical);
  EXPECT_EQ(mirrored, linear);
}

TEST(FillGradientRect, EmptyRectanglesDrawNothing) {
  Image image(4, 4);
  image.setPixel(1, 1, 0x123456);
  const Image before = image;
  fillGradientRect(kRed, kBlue, image, 0, 4, kLinear, FillDirection::Horizontal);
  fillGradientRect(kRed, kBlue, image, 4, 0, kMirrored, FillDirection::Horizontal);
  EXPECT_EQ(image, before);
}

TEST(FillGradientRect, ClipsToTheImageAndLeavesTheRestAlone) {
  Image image(4, 4);
  fillGradientRect(kWhite, kWhite, image, 2, 8, kLinear, FillDirection::Horizontal);
  EXPECT_EQ(image.pixel(1, 3), kWhite);
  EXPECT_EQ(image.pixel(2, 0), kBlack);
  fillGradientRect(kWhite, kWhite, image, 100, 100, kMirrored, FillDirection::Vertical);
  EXPECT_EQ(image.pixel(3, 3), kWhite);
}

}  // namespace
}  // namespace tessalune::ui::gdi
