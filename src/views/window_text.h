#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "targets/ansi_render.h"
#include "ui/window.h"

namespace tessalune::views {

// The window as a terminal shows it: a title line with its caption and name, then one line
// per visible control: name, kind, caption or text in quotes, and its state ([x] or [ ] for
// a check box, (*) or ( ) for an option, the list position, the selection of a rich-text
// box, a back colour that is a colour number as #RRGGBB, "disabled"). The characters of a
// rich-text box follow its line, one "    | " line per line of text, rendered in mode.
std::string describeWindow(const ui::Window& window, targets::AnsiMode mode = targets::AnsiMode::Colour);

// What a person needs: the text of the rich-text boxes shown, then the controls that can
// be acted on now, grouped by the frame or panel that holds them, with their captions.
std::string describeActions(const ui::Window& window, targets::AnsiMode mode = targets::AnsiMode::Colour);

// The text of the rich-text boxes shown, one "NAME | " line per line of text.
std::string boxTexts(const ui::Window& window, targets::AnsiMode mode);

// Text kept on one line: line breaks as \n, tabs as \t, nothing that acts on the terminal.
std::string oneLine(std::string_view text);
// The same between double quotes.
std::string quoted(std::string_view text);

// A whole decimal number, or nothing.
std::optional<int> toNumber(std::string_view word);

bool isRich(const ui::Control* c);
bool isTextBox(const ui::Control* c);

}  // namespace tessalune::views
