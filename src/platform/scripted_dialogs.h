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
  // Colours and files answer from their own queues; an empty queue cancels.
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  std::string chooseFile(const FileDialogRequest& request) override;

  void queueColour(std::optional<std::uint32_t> colour) { colours_.push_back(colour); }
  void queueFile(std::string path) { files_.push_back(std::move(path)); }
  const std::vector<FileDialogRequest>& fileRequests() const { return fileRequests_; }

  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& shown() const { return shown_; }
  void clear() { shown_.clear(); }

 private:
  Answer whenQueueEmpty_;
  std::deque<Answer> answers_;
  std::vector<ShownMessage> shown_;
  std::deque<std::optional<std::uint32_t>> colours_;
  std::deque<std::string> files_;
  std::vector<FileDialogRequest> fileRequests_;
};

}  // namespace tessalune::platform
