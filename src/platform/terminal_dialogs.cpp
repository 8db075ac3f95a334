#include "platform/terminal_dialogs.h"

#include <fstream>
#include <string>

namespace tessalune::platform {

namespace {

// One line read from the controlling terminal after a prompt; nothing without one.
std::optional<std::string> readTerminalLine(std::ostream& out, std::string_view prompt) {
  std::ifstream tty("/dev/tty");
  if (!tty) return std::nullopt;
  out << prompt << std::flush;
  std::string reply;
  if (!std::getline(tty, reply)) return std::nullopt;
  return reply;
}

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
  if (!yes && useTerminal_) yes = askTerminal(out_);
  return yes.value_or(true) ? Answer::Yes : Answer::No;
}

std::optional<std::uint32_t> TerminalDialogs::chooseColour(std::uint32_t) {
  if (!colours_.empty()) {
    const std::uint32_t colour = colours_.front();
    colours_.pop_front();
    return colour;
  }
  const std::optional<std::string> reply = readLine("Colour (#RRGGBB, empty to cancel): ");
  if (!reply || reply->size() != 7 || (*reply)[0] != '#' ||
      reply->find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) {
    return std::nullopt;
  }
  const unsigned long rgb = std::stoul(reply->substr(1), nullptr, 16);
  return static_cast<std::uint32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

std::string TerminalDialogs::chooseFile(const FileDialogRequest& request) {
  if (!files_.empty()) {
    std::string path = std::move(files_.front());
    files_.pop_front();
    return path;
  }
  return readLine(request.title + " (" + request.filterPattern + ", empty to cancel): ").value_or("");
}

std::optional<std::string> TerminalDialogs::readLine(std::string_view prompt) {
  if (!useTerminal_) return std::nullopt;
  return readTerminalLine(out_, prompt);
}

}  // namespace tessalune::platform
