#include "ui/gdi/image.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tessalune::ui::gdi {

Image::Image(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

std::size_t Image::offset(int x, int y) const {
  if (!contains(x, y)) {
    throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                            ") outside an image of " + std::to_string(width_) + " x " +
                            std::to_string(height_));
  }
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
}

ColourNumber Image::pixel(int x, int y) const {
  return pixels_[offset(x, y)];
}

void Image::setPixel(int x, int y, ColourNumber colour) {
  pixels_[offset(x, y)] = colour & engine::kRgbMask;
}

void Image::setRow(int x, int y, std::span<const ColourNumber> colours) {
  if (colours.empty()) return;
  const std::size_t first = offset(x, y);
  offset(x + static_cast<int>(colours.size()) - 1, y);  // the last pixel must be inside too
  std::transform(colours.begin(), colours.end(), pixels_.begin() + static_cast<std::ptrdiff_t>(first),
                 [](ColourNumber c) { return c & engine::kRgbMask; });
}

}  // namespace tessalune::ui::gdi
