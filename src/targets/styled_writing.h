#pragma once

#include <string>
#include <string_view>

#include "engine/colour.h"
#include "engine/styled_text.h"

namespace tessalune::targets {

// How a written text ends. A nickname's Plus! text ends with the reset code, so that what
// the messenger writes after the name is plain: the target's text then ends with the target's
// own reset wherever something is still set. Without it, the text ends as it stands.
enum class TextEnd { AsItStands, Reset };

// "RRGGBB", upper case, of a colour number.
std::string hexDigits(engine::ColourNumber colour);

// A character as the writers put it in a target's text: the C0 controls but the tab (line
// breaks are handled before), DEL and the C1 controls act on a terminal or on a protocol
// (IRC's own format characters are C0 controls), so each becomes U+FFFD, visibly.
char32_t writableChar(char32_t c);

// The line break at i (CR LF, or a lone CR or LF) is one line break: the index of its last
// character.
std::size_t lineBreakEnd(const engine::StyledText& text, std::size_t i);

}  // namespace tessalune::targets
