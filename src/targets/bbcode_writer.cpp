// Forum BBCode: [b], [i], [u], [s] and [color=#RRGGBB], properly nested (the order is
// NestedTags'), written only where a format changes; the automatic text colour is the text
// outside any colour tag. Backgrounds have no BBCode that forums share and are left out.
//
// Every tag is closed at the end of the text, with or without the nickname's reset: forums
// show a tag left open as text. Line breaks are written as LF, inside the tags that span them.
// Characters that would act on a terminal are written as U+FFFD; a bracket typed in the text
// is written as it is, as BBCode has no escape that forums share.
#include "targets/bbcode_writer.h"

#include "engine/utf8.h"
#include "targets/nested_tags.h"
#include "targets/styled_writing.h"

namespace tessalune::targets {

namespace {

std::string bbcodeTag(const Tag& tag, bool closing) {
  const char* name = "color";
  switch (tag.kind) {
    case TagKind::Bold:
      name = "b";
      break;
    case TagKind::Italic:
      name = "i";
      break;
    case TagKind::Underline:
      name = "u";
      break;
    case TagKind::Strike:
      name = "s";
      break;
    case TagKind::Colour:
      break;
  }
  if (closing) return std::string("[/") + name + "]";
  if (tag.kind == TagKind::Colour) return "[color=#" + hexDigits(tag.colour) + "]";
  return std::string("[") + name + "]";
}

}  // namespace

std::string writeBbcode(const engine::StyledText& text) {
  NestedTags tags(bbcodeTag);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const engine::StyledChar c = text[i];
    if (engine::isLineBreakChar(c.ch)) {
      out += '\n';
      i = lineBreakEnd(text, i);
      continue;
    }
    out += tags.change(c.format);
    engine::appendUtf8(out, writableChar(c.ch));
  }
  out += tags.closeAll();
  return out;
}

}  // namespace tessalune::targets
