#pragma once

#include <string>

#include "engine/colour.h"
#include "engine/styled_text.h"
#include "targets/styled_writing.h"

namespace tessalune::targets {

// IRC's colour codes: numbers of the 99-colour palette after 0x03, or "RRGGBB" after 0x04.
enum class IrcColours { Palette, Hex };

inline constexpr int kIrcPaletteSize = 99;

// The colour of palette number n (0 to 98).
engine::ColourNumber ircPaletteColour(int n);

// The palette number nearest to a colour in CIELAB (Delta E 1976, sRGB under D65); of two
// equally near, the lower number.
int nearestIrcColour(engine::ColourNumber colour);

// Styled characters in the formatting characters of IRC clients. The file says how each
// format is written and in what order.
std::string writeIrc(const engine::StyledText& text, IrcColours colours, TextEnd end);

}  // namespace tessalune::targets
