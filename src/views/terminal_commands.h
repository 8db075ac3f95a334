#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/terminal_dialogs.h"
#include "targets/ansi_render.h"
#include "ui/window.h"

namespace tessalune::views {

// What the commands read on one window, shown modally: they act on its controls as the user
// would, print to out, and leave the colours and files they give in the dialogs' queues.
struct CommandContext {
  ui::Window& window;
  std::ostream& out;
  platform::TerminalDialogs& dialogs;
  targets::AnsiMode mode;
  ui::Control* current = nullptr;  // the box that select or type last acted on
};

// Carries out one command line. One that cannot be carried out prints one "error: ..."
// line; blank lines and lines starting with '#' do nothing.
void execute(CommandContext& ctx, std::string_view line);

// Closes the window as its title bar's close box does.
void closeAsUser(CommandContext& ctx);

// Whether a script line is a click or a close that the window can act on at once: only
// such a line is taken while a transfer runs, the others wait for the transfer's end.
bool actsNow(const ui::Window& window, std::string_view line);

// The commands the driver takes, one per line, as `help` prints them.
std::string terminalDriverHelp();

}  // namespace tessalune::views
