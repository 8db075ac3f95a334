#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "engine/colour.h"

namespace tessalune::ui::gdi {

using engine::ColourNumber;

// The screen's twips per pixel, horizontally and vertically (96 dots per inch).
inline constexpr int kTwipsPerPixel = 15;

// numerator / denominator (denominator > 0) rounded to the nearest whole number, halves to
// the even neighbour, as the platform rounds a size.
constexpr int roundHalfToEven(int numerator, int denominator) {
  int quotient = numerator / denominator;
  int remainder = numerator % denominator;
  if (remainder < 0) remainder += denominator, --quotient;  // floor division
  if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// A pixel count from a length in twips, at the screen's factor.
constexpr int pixelsFromTwips(int twips, int twipsPerPixel = kTwipsPerPixel) {
  return roundHalfToEven(twips, twipsPerPixel);
}

// A control's size as the window model gives it, in twips.
struct TwipSize {
  int width = 0;
  int height = 0;
  bool operator==(const TwipSize&) const = default;
};

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

constexpr PixelSize pixelSize(TwipSize size, int twipsPerPixel = kTwipsPerPixel) {
  return {pixelsFromTwips(size.width, twipsPerPixel), pixelsFromTwips(size.height, twipsPerPixel)};
}

// An off-screen RGB image: a paint buffer, filled once and copied to its control whenever
// the control repaints. A new image is black, as a fresh bitmap is.
class Image {
 public:
  Image() = default;
  // Negative sizes make an empty image.
  Image(int width, int height);
  explicit Image(PixelSize size) : Image(size.width, size.height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  PixelSize size() const { return {width_, height_}; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // The pixels row by row from the top left, stride() to a row, each a colour number
  // 0x00BBGGRR: what a view copies onto its control.
  int stride() const { return width_; }
  const ColourNumber* pixels() const { return pixels_.data(); }

  // Pixels outside the image throw std::out_of_range. Only the low 24 bits are stored.
  ColourNumber pixel(int x, int y) const;
  void setPixel(int x, int y, ColourNumber colour);
  // Sets the pixels from (x, y) rightwards to the colours given, which must fit in the row.
  void setRow(int x, int y, std::span<const ColourNumber> colours);

  bool operator==(const Image&) const = default;

 private:
  std::size_t offset(int x, int y) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<ColourNumber> pixels_;
};

}  // namespace tessalune::ui::gdi
