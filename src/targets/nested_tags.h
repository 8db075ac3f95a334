#pragma once

#include <string>
#include <vector>

#include "engine/colour.h"
#include "engine/styled_text.h"

namespace tessalune::targets {

// The formats a target writes as ranges between an opening and a closing tag.
enum class TagKind { Bold, Italic, Underline, Strike, Colour };

struct Tag {
  TagKind kind;
  engine::ColourNumber colour = 0;  // of a colour tag
  bool operator==(const Tag&) const = default;
};

// A target's tag text: the opening tag, or the closing one.
using TagText = std::string (*)(const Tag& tag, bool closing);

// Keeps the tags of a target properly nested. For each character, the tags it no longer has
// are closed, with every tag opened inside them (innermost first), and the ones it lacks are
// opened in the order bold, italic, underline, strike-through, colour: the colour, which
// changes most often (a gradient changes it at every character), is innermost, so that its
// changes close no other tag. Background colours are not carried.
class NestedTags {
 public:
  explicit NestedTags(TagText text) : text_(text) {}

  // The tags that take the open ones to the format's.
  std::string change(const engine::CharFormat& format);
  // The closing tags of every open one.
  std::string closeAll();
  bool anyOpen() const { return !open_.empty(); }

 private:
  TagText text_;
  std::vector<Tag> open_;  // outermost first
};

}  // namespace tessalune::targets
