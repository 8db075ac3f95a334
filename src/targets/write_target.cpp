#include "targets/write_target.h"

#include <stdexcept>

#include "engine/plus_to_styled_text.h"
#include "targets/ansi_render.h"
#include "targets/bbcode_writer.h"
#include "targets/html_render.h"
#include "targets/irc_writer.h"
#include "targets/minecraft_writer.h"
#include "targets/minimessage_writer.h"

namespace tessalune::targets {

namespace {

// A nickname's Plus! text ends with the reset code, so that what follows the name is plain.
TextEnd endOf(std::string_view plus) {
  return plus.ends_with("\u00B70") ? TextEnd::Reset : TextEnd::AsItStands;
}

}  // namespace

std::string writeTarget(Target target, std::string_view plus) {
  switch (target) {
    case Target::Plus:
      return std::string(plus);
    case Target::Html:
      return renderPlusHtml(plus);
    case Target::Ansi:
      return renderAnsi(engine::plusToStyledText(std::string(plus)));
    case Target::Irc:
      return writeIrc(engine::plusToStyledText(std::string(plus)), IrcColours::Palette, endOf(plus));
    case Target::IrcHex:
      return writeIrc(engine::plusToStyledText(std::string(plus)), IrcColours::Hex, endOf(plus));
    case Target::Bbcode:
      return writeBbcode(engine::plusToStyledText(std::string(plus)));
    case Target::Minecraft:
      return writeMinecraft(engine::plusToStyledText(std::string(plus)), endOf(plus));
    case Target::MiniMessage:
      return writeMiniMessage(engine::plusToStyledText(std::string(plus)), endOf(plus));
  }
  throw std::logic_error("no writer for the target " + std::string(targetInfo(target).name));
}

}  // namespace tessalune::targets
