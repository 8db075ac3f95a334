#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/terminal_dialogs.h"
#include "targets/ansi_render.h"
#include "ui/window.h"
#include "views/terminal_commands.h"
#include "views/window_text.h"

namespace tessalune::views {

struct TerminalDriverOptions {
  targets::AnsiMode mode = targets::AnsiMode::Colour;  // how the window's rich text is printed
  bool prompt = false;     // "frmPrefs> " before each line read, for a person at a terminal
  bool showOnOpen = true;  // print the window as it opens (a script can ask with "show")
  int terminalFd = -1;     // the terminal a person types the lines on; -1 when a script gives them
};

// A line-oriented view of any window model, for hosts without a display. Shown modally
// through it, a window is printed and then driven by commands read one per line from the
// input (a terminal or a script) until it is hidden; the end of the input hides it, so a
// script never hangs. A window opened modally from inside one reads the same input, and
// the outer window takes the lines that follow its close.
//
// The commands act as the user would: the driver finds controls by the model's names, acts
// on them and keeps no settings. A hidden or disabled control takes no command. A command
// that cannot be carried out prints one "error: ..." line and the next line is read. Blank
// lines and lines starting with '#' are skipped. The colour and file dialogs that a command
// opens are answered through the terminal dialogs, which the host also gives the plug-in.
//
// While a transfer runs inside a command (a download), the host runs pumpEvents: a line a
// person has typed meanwhile is carried out at once, so "click btnCancel" stops the
// download. A script's next line is taken only once the body has begun to arrive, and only
// when it is a click or close the window can act on then; any other waits for the end.
class TerminalDriver : public ui::WindowSystem {
 public:
  TerminalDriver(std::istream& in, std::ostream& out, platform::TerminalDialogs& dialogs,
                 TerminalDriverOptions options = {})
      : in_(in), out_(out), dialogs_(dialogs), options_(options) {}

  void runModal(ui::Window& window) override;
  // The host's event pump while a transfer waits; bodyStarted tells whether its body has
  // begun to arrive.
  void pumpEvents(bool bodyStarted);

 private:
  std::istream& in_;
  std::ostream& out_;
  platform::TerminalDialogs& dialogs_;
  TerminalDriverOptions options_;
  std::vector<ui::Window*> modal_;   // the windows shown modally, innermost last
  std::optional<std::string> held_;  // a line the pump read but left for the window's loop
  bool pumping_ = false;
};

}  // namespace tessalune::views
