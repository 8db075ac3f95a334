#include "platform/terminal_dialogs.h"

#include <fstream>
#include <string>

namespace tessalune::platform {

namespace {

// Asks on the controlling terminal; nothing when the process has none.
std::optional<bool> askTerminal(std::ostream& out) {
  std::ifstream tty("/dev/tty");
  if (!tty) return std::nullopt;
  for (;;) {
    out << "[y/n] " << std::flush;
    std::string reply;
    if (!std::getline(tty, reply)) return std::nullopt;
    if (reply == "y" || reply == "Y" || reply == "yes") return true;
    if (reply == "n" || reply == "N" || reply == "no") return false;
  }
}

}  // namespace

std::string oneLineMessage(std::string_view text, std::string_view title) {
  std::string line(title);
  line += ": ";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line.push_back(' ');
    } else {
      line.push_back(text[i]);
    }
  }
  return line;
}

Answer TerminalDialogs::messageBox(std::string_view text, std::string_view title, Icon, Buttons buttons) {
  out_ << oneLineMessage(text, title) << "\n" << std::flush;
  if (buttons == Buttons::Ok) return Answer::Ok;
  std::optional<bool> yes = fixedAnswer_;
  if (!yes) yes = askTerminal(out_);
  return yes.value_or(true) ? Answer::Yes : Answer::No;
}

}  // namespace tessalune::platform
