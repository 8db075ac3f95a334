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

void NoticeFront::pump() {
  g_main_context_iteration(nullptr, FALSE);
}

void NoticeFront::runModal(ui::Window& window) {
  notice_("Tessalune: " + texts_(PurpleText::WindowWithoutDisplay, window.caption()));
}

}  // namespace tessalune::purple
