#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessalune::platform {

// XML 1.0 holds only TAB, LF, CR, U+0020-U+D7FF, U+E000-U+FFFD and U+10000-U+10FFFF, and
// only as UTF-8 here.
constexpr bool isXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// The first thing in text that an XML 1.0 file cannot hold, named for a person: the
// character ("U+0001") or "invalid UTF-8"; nothing when text can be stored as it is.
std::optional<std::string> xmlTextProblem(std::string_view text);

// text with every character XML 1.0 forbids dropped and every byte that is not part of
// a UTF-8 character replaced by U+FFFD.
std::string xmlSafeText(std::string_view text);

}  // namespace tessalune::platform
