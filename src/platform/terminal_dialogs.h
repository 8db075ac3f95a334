#pragma once

#include <optional>
#include <ostream>

#include "platform/dialogs.h"

namespace tessalune::platform {

// Message boxes on a terminal: each box is one line "TITLE: TEXT" on the error stream,
// line breaks shown as spaces. A question takes the fixed answer when one was given
// (--answer), else is asked on the controlling terminal when there is one, else is
// answered Yes.
class TerminalDialogs : public Dialogs {
 public:
  TerminalDialogs(std::ostream& out, std::optional<bool> fixedAnswer)
      : out_(out), fixedAnswer_(fixedAnswer) {}

  Answer messageBox(std::string_view text, std::string_view title, Icon icon, Buttons buttons) override;

 private:
  std::ostream& out_;
  std::optional<bool> fixedAnswer_;
};

// "TITLE: TEXT" with every CR LF, CR or LF of the text shown as one space.
std::string oneLineMessage(std::string_view text, std::string_view title);

}  // namespace tessalune::platform
