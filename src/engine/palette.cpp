#include "engine/palette.h"

#include <cstdint>

namespace tessalune::engine {

namespace {

// Seven characters packed into one number: one comparison per palette colour instead of a
// text comparison, which the conversions make for every colour they meet.
constexpr std::uint64_t packed(std::string_view text) {
  std::uint64_t value = 0;
  for (char c : text) value = value << 8 | static_cast<unsigned char>(c);
  return value;
}

constexpr std::array<std::uint64_t, 16> kPackedPalette = [] {
  std::array<std::uint64_t, 16> all{};
  for (std::size_t k = 0; k < kPalette.size(); ++k) all[k] = packed(kPalette[k]);
  return all;
}();

}  // namespace

std::optional<int> paletteIndexOf(std::string_view colourText) {
  if (colourText.size() != 7 || colourText[0] != '#') return std::nullopt;
  // The palette's digits are 0, 8, C and F only: most colours are told apart at once.
  for (char c : colourText.substr(1)) {
    if (c != '0' && c != '8' && c != 'F' && c != 'C') return std::nullopt;
  }
  const std::uint64_t value = packed(colourText);
  for (std::size_t k = 0; k < kPackedPalette.size(); ++k) {
    if (kPackedPalette[k] == value) return static_cast<int>(k);
  }
  return std::nullopt;
}

}  // namespace tessalune::engine
