#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/rich_text_box.h"
#include "engine/styled_text.h"

namespace tessalune::targets {

// How styled text reaches a terminal: in colour with ANSI escape codes, or as its bare characters.
enum class AnsiMode { Colour, Plain };

// Styled characters as terminal text. In colour, the text is shown on paper: the formats
// become SGR codes, 24-bit text and background colours (38;2;R;G;B, 48;2;R;G;B), with the
// automatic text colour black and no background white, so that it reads on dark and light
// themes alike; bold 1, italic 3, underline 4, strike-through 9. A code is written only
// where a format changes, and the text ends with a reset (0). A line break (CR LF, or a lone CR or LF) is one
// newline, written without background so that a scrolling terminal does not paint the next line with it.
// Characters that would act on the terminal are shown as U+FFFD.
std::string renderAnsi(const engine::StyledText& text, AnsiMode mode = AnsiMode::Colour);
// The same, given to write in parts as it is made, so that megabytes of text are never held twice.
void renderAnsi(const engine::StyledText& text, AnsiMode mode,
                const std::function<void(std::string_view)>& write);
inline std::string renderAnsi(const engine::RichTextBox& box, AnsiMode mode = AnsiMode::Colour) {
  return renderAnsi(box.characters(), mode);
}

// Whether a character acts on a terminal rather than showing: the C0 controls but the tab,
// DEL, and the C1 controls (ESC, CSI and their kind).
constexpr bool actsOnTerminal(char32_t c) {
  return (c < 0x20 && c != U'\t') || (c >= 0x7F && c <= 0x9F);
}

}  // namespace tessalune::targets
