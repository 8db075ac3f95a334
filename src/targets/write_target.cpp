#include "targets/write_target.h"

#include <stdexcept>

#include "engine/plus_to_styled_text.h"
#include "targets/ansi_render.h"
#include "targets/html_render.h"

namespace tessalune::targets {

std::string writeTarget(Target target, std::string_view plus) {
  switch (target) {
    case Target::Plus:
      return std::string(plus);
    case Target::Html:
      return renderPlusHtml(plus);
    case Target::Ansi:
      return renderAnsi(engine::plusToStyledText(std::string(plus)));
    case Target::Irc:
    case Target::IrcHex:
    case Target::Bbcode:
    case Target::Minecraft:
    case Target::MiniMessage:
      break;
  }
  throw std::logic_error("no writer for the target " + std::string(targetInfo(target).name));
}

}  // namespace tessalune::targets
