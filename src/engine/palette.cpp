#include "engine/palette.h"

#include <array>
#include <cstdint>

namespace tessalune::engine {

std::optional<int> paletteIndexOf(std::string_view colourText) {
  if (colourText.size() != 7 || colourText[0] != '#') return std::nullopt;
  // The palette's digits are 0, 8, C and F only: two bits each, twelve for a colour, and a
  // table of those twelve bits names the palette entry, if any. Most colours are told apart
  // at their first digit.
  static constexpr auto kByDigits = [] {
    std::array<std::int8_t, 4096> table{};
    table.fill(-1);
    for (std::size_t k = 0; k < kPalette.size(); ++k) {
      std::size_t key = 0;
      for (char c : kPalette[k].substr(1)) key = key << 2 | (c == '0' ? 0 : c == '8' ? 1 : c == 'C' ? 2 : 3);
      table[key] = static_cast<std::int8_t>(k);
    }
    return table;
  }();
  std::size_t key = 0;
  for (char c : colourText.substr(1)) {
    const std::size_t bits = c == '0' ? 0 : c == '8' ? 1 : c == 'C' ? 2 : c == 'F' ? 3 : 4;
    if (bits == 4) return std::nullopt;
    key = key << 2 | bits;
  }
  if (kByDigits[key] < 0) return std::nullopt;
  return kByDigits[key];
}

}  // namespace tessalune::engine
