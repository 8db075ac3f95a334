#pragma once

#include <string>
#include <string_view>

// The text-rewriting steps of plus2rtf that run before the scan. Each is a single pass
// standing in for a sequence of whole-text replacements; they are exposed so that tests
// can hold them to those replacements.
namespace tessalune::engine::plus2rtf_steps {

// "\" "{" "}" escaped, then every CR LF followed by "\par ".
std::u32string escapeForRtf(std::u32string_view text);

// "·$k" and "·$,k" with a palette index k become the palette colour, 15 down to 0.
void expandPaletteIndices(std::u32string& text);

// The index k in "·$#RRGGBB,k" becomes the palette colour.
void expandBackgroundIndices(std::u32string& text);

}  // namespace tessalune::engine::plus2rtf_steps
