#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace tessalune::platform {

struct ShownMessage {
  std::string text;
  std::string title;
  Icon icon;
  Buttons buttons;
};

// Dialogs for tests and scripts: records every box and answers questions from a queue,
// then with a fixed answer once the queue is empty.
class ScriptedDialogs : public Dialogs {
 public:
  explicit ScriptedDialogs(Answer whenQueueEmpty = Answer::Yes) : whenQueueEmpty_(whenQueueEmpty) {}

  Answer messageBox(std::string_view text, std::string_view title, Icon icon, Buttons buttons) override;

  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& shown() const { return shown_; }
  void clear() { shown_.clear(); }

 private:
  Answer whenQueueEmpty_;
  std::deque<Answer> answers_;
  std::vector<ShownMessage> shown_;
};

}  // namespace tessalune::platform
