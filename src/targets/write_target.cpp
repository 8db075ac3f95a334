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

// The characters as a reader of the target should see them. Plus! text lies on white paper
// whether or not it chose a background, and a target that carries backgrounds gets them only
// when the text chose one, so that a chat shown on a dark theme gets no white boxes.
engine::StyledText shown(std::string_view plus) {
  engine::StyledText text = engine::plusToStyledText(std::string(plus));
  if (engine::hasBackgroundCode(plus)) return text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    engine::CharFormat format = text[i].format;
    if (!format.background) continue;
    format.background.reset();
    text.setFormat(i, format);
  }
  return text;
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
      return writeIrc(shown(plus), IrcColours::Palette, endOf(plus));
    case Target::IrcHex:
      return writeIrc(shown(plus), IrcColours::Hex, endOf(plus));
    case Target::Bbcode:
      return writeBbcode(engine::plusToStyledText(std::string(plus)));
    case Target::Minecraft:
      return writeMinecraft(engine::plusToStyledText(std::string(plus)), endOf(plus));
    case Target::MiniMessage:
      return writeMiniMessage(engine::plusToStyledText(std::string(plus)), endOf(plus));
  }
  throw std::logic_error("no writer for the target " + std::string(targetInfo(target).name));
}

std::string writeChatHtml(std::string_view plus) {
  return renderHtml(shown(plus), HtmlMarkup::ChatTags);
}

}  // namespace tessalune::targets
