#include "engine/palette.h"

namespace tessalune::engine {

std::optional<int> paletteIndexOf(std::string_view colourText) {
  for (std::size_t k = 0; k < kPalette.size(); ++k) {
    if (kPalette[k] == colourText) return static_cast<int>(k);
  }
  return std::nullopt;
}

}  // namespace tessalune::engine
