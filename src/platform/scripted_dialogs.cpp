#include "platform/scripted_dialogs.h"

namespace tessalune::platform {

Answer ScriptedDialogs::messageBox(std::string_view text, std::string_view title, Icon icon,
                                   Buttons buttons) {
  shown_.push_back({std::string(text), std::string(title), icon, buttons});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers_.empty()) return whenQueueEmpty_;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::uint32_t> ScriptedDialogs::chooseColour(std::uint32_t) {
  if (colours_.empty()) return std::nullopt;
  const std::optional<std::uint32_t> colour = colours_.front();
  colours_.pop_front();
  return colour;
}

std::string ScriptedDialogs::chooseFile(const FileDialogRequest& request) {
  fileRequests_.push_back(request);
  if (files_.empty()) return {};
  std::string path = std::move(files_.front());
  files_.pop_front();
  return path;
}

}  // namespace tessalune::platform
