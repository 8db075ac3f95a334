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

}  // namespace tessalune::platform
