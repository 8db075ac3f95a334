#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "errors/routine_guard.h"

namespace tessalune::engine {

// A colour number: 0x00BBGGRR, red in the low byte.
using ColourNumber = std::uint32_t;

// A colour as a rich-text box holds it: a colour number, or nothing for the automatic
// text colour (respectively no background).
using BoxColour = std::optional<ColourNumber>;

inline constexpr ColourNumber kRgbMask = 0x00FFFFFF;

constexpr ColourNumber makeColour(int red, int green, int blue) {
  return static_cast<ColourNumber>(red) | (static_cast<ColourNumber>(green) << 8) |
         (static_cast<ColourNumber>(blue) << 16);
}
constexpr int redOf(ColourNumber c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(ColourNumber c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(ColourNumber c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// Component of the colour whose number is written in decimal in colourText:
// 1 red, 2 blue, 3 green, anything else 0. Only the low 24 bits count, so a system
// colour never yields meaningless digits. Text that is not a number is a failure,
// reported as "GetRGBColor"; the result is then 0.
int GetRGBColor(std::string_view colourText, int component, errors::FailureContext& ctx);

// "#RRGGBB", upper case, of the low 24 bits of colour.
std::string rgb2hex(ColourNumber colour);

// The colour of exactly "#" and six hexadecimal digits (either case); nothing for other text.
std::optional<ColourNumber> colourFromHex(std::string_view text);

// The inverse of rgb2hex. Only the last six characters count, shorter text is padded
// with "0" on the left, a "#" is allowed; a pair that is not hexadecimal reads as 0.
// Never fails.
ColourNumber hex2rgb(std::string_view text);
ColourNumber hex2rgb(std::u32string_view text);

}  // namespace tessalune::engine
