#pragma once

#include <optional>
#include <string_view>

#include "platform/xml_document.h"

namespace tessalune::platform {

// pugixml reads more than XML 1.0 allows (characters the standard forbids, "--" inside a
// comment, a name that starts with a digit); what it reads it would write back. A text it
// accepts is therefore read once more, strictly: whatever passes both can be written as
// well-formed XML 1.0 again. What keeps the text from being well formed, or nothing.
std::optional<XmlParseError> strictProblem(std::string_view text);

// The verdict of XML 1.0's character rules alone, for a text pugixml has accepted: bytes
// that are not UTF-8, characters or character references outside the characters XML
// allows, an "&" that starts no reference to a predefined entity, "]]>" in content. On the
// documents the conversions make and read, whose names and structure are their own, it is
// the strict reading's verdict; a build without libxml2 (the web one) reads strictly with it.
std::optional<XmlParseError> characterProblem(std::string_view text);

}  // namespace tessalune::platform
