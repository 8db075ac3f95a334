#include "notice_front.h"

#include <glib.h>

namespace tessalune::purple {

platform::Answer NoticeDialogs::messageBox(std::string_view text, std::string_view title, platform::Icon,
                                           platform::Buttons buttons) {
  std::string shown = std::string(title) + ": " + std::string(text);
  if (buttons == platform::Buttons::Ok) {
    notice_(shown);
    return platform::Answer::Ok;
  }
  const bool yes = answerYes_();
  notice_(shown + texts_(yes ? PurpleText::AnsweredYes : PurpleText::AnsweredNo, {}));
  return yes ? platform::Answer::Yes : platform::Answer::No;
}

std::optional<std::string> GlibShell::spawn(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  GError* error = nullptr;
  if (g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error)) {
    return std::nullopt;
  }
  std::string reason = error->message;
  g_error_free(error);
  return reason;
}

void NoticeFront::pump() {
  g_main_context_iteration(nullptr, FALSE);
}

void NoticeFront::runModal(ui::Window& window) {
  notice_("Tessalune: " + texts_(PurpleText::WindowWithoutDisplay, window.caption()));
}

}  // namespace tessalune::purple
