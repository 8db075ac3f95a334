#pragma once

#include <vector>

#include "engine/colour.h"

namespace tessalune::engine {

// The format of one character of a rich-text box.
struct CharFormat {
  BoxColour textColour;  // nothing: the automatic text colour
  BoxColour background;  // nothing: no background
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;

  bool operator==(const CharFormat&) const = default;
};

struct StyledChar {
  char32_t ch;
  CharFormat format;

  bool operator==(const StyledChar&) const = default;
};

using StyledText = std::vector<StyledChar>;

inline bool isLineBreakChar(char32_t c) {
  return c == U'\r' || c == U'\n';
}

// A line break is always the pair CR LF; a lone CR or LF becomes one, carrying the
// format of the character it replaces.
void normaliseLineBreaks(StyledText& text);

// The house RTF dialect of the box (one font, one size, a colour table in order of first
// use, a NUL after the closing brace).
std::string writeRtf(const StyledText& text);

// Reads RTF: everything writeRtf and plus2rtf produce, and more. Unknown control words
// and destinations are skipped, the last \par before the closing brace ends the document,
// and malformed input loads as far as it can be read; text that is not RTF at all loads
// as plain text. Never fails.
StyledText readRtf(std::string_view rtf);

}  // namespace tessalune::engine
