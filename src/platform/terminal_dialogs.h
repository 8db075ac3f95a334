#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "platform/dialogs.h"

namespace tessalune::platform {

// Message boxes on a terminal: each box is one line "TITLE: TEXT" on the error stream,
// line breaks shown as spaces. A question takes the fixed answer when one was given
// (--answer), else is asked on the controlling terminal when there is one and asking there
// is allowed, else is answered Yes.
class TerminalDialogs : public Dialogs {
 public:
  TerminalDialogs(std::ostream& out, std::optional<bool> fixedAnswer)
      : out_(out), fixedAnswer_(fixedAnswer) {}

  Answer messageBox(std::string_view text, std::string_view title, Icon icon, Buttons buttons) override;
  // Asked on the terminal ("#RRGGBB", a path); with no terminal, or an empty reply, cancelled.
  // Answers queued with queueColour/queueFile (scripts, command-line arguments) come first.
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  std::string chooseFile(const FileDialogRequest& request) override;

  void queueColour(std::uint32_t colour) { colours_.push_back(colour); }
  void queueFile(std::string path) { files_.push_back(std::move(path)); }
  // Whether the controlling terminal may be read (it may, until told otherwise): a host that
  // shows no windows there asks nothing there either.
  void useTerminal(bool allowed) { useTerminal_ = allowed; }

 private:
  std::optional<std::string> readLine(std::string_view prompt);

  std::ostream& out_;
  std::optional<bool> fixedAnswer_;
  bool useTerminal_ = true;
  std::deque<std::uint32_t> colours_;
  std::deque<std::string> files_;
};

// "TITLE: TEXT" with every CR LF, CR or LF of the text shown as one space.
std::string oneLineMessage(std::string_view text, std::string_view title);

}  // namespace tessalune::platform
