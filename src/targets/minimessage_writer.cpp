// MiniMessage: <b>, <i>, <u>, <st> and <#RRGGBB>, each closed by its closing tag (</b>, ...,
// </#RRGGBB>) where the format stops, properly nested (the order is NestedTags'), written only
// where a format changes; the automatic text colour is the text outside any colour tag.
// Backgrounds are not carried.
//
// With the nickname's reset, a text that ends with tags still open ends with <reset>; without
// it, the tags are left open, as MiniMessage allows. Line breaks are written as LF, inside the
// tags that span them.
//
// A "<" of the text is written "\<", so that it is not read as a tag, and a "\" is written "\\",
// so that it escapes nothing that follows. Characters that would act on a terminal are written
// as U+FFFD.
#include "targets/minimessage_writer.h"

#include "engine/utf8.h"
#include "targets/nested_tags.h"

namespace tessalune::targets {

namespace {

std::string miniMessageTag(const Tag& tag, bool closing) {
  std::string name = "#" + hexDigits(tag.colour);
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
      name = "st";
      break;
    case TagKind::Colour:
      break;
  }
  return (closing ? "</" : "<") + name + ">";
}

}  // namespace

std::string writeMiniMessage(const engine::StyledText& text, TextEnd end) {
  NestedTags tags(miniMessageTag);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const engine::StyledChar c = text[i];
    if (engine::isLineBreakChar(c.ch)) {
      out += '\n';
      i = lineBreakEnd(text, i);
      continue;
    }
    out += tags.change(c.format);
    if (c.ch == U'<' || c.ch == U'\\') out += '\\';
    engine::appendUtf8(out, writableChar(c.ch));
  }
  if (end == TextEnd::Reset && tags.anyOpen()) out += "<reset>";
  return out;
}

}  // namespace tessalune::targets
