#include <cstdint>
#include <string>

#include "platform/strict_utf8.h"
#include "platform/xml_strict.h"
#include "platform/xml_text.h"

namespace tessalune::platform {

namespace {

// The numbers libxml2 gives these problems.
constexpr std::int32_t kInvalidCharRef = 8;
constexpr std::int32_t kInvalidChar = 9;
constexpr std::int32_t kUndeclaredEntity = 26;
constexpr std::int32_t kMisplacedCdataEnd = 62;
constexpr std::int32_t kNotUtf8 = 81;

// The character a reference "&#N;" or "&#xH;" at i names, and where it ends; nothing when
// the text at i is not one.
std::optional<std::pair<std::uint64_t, std::size_t>> reference(std::string_view text, std::size_t i) {
  if (text.compare(i, 2, "&#") != 0) return std::nullopt;
  std::size_t k = i + 2;
  const bool hex = k < text.size() && text[k] == 'x';
  if (hex) ++k;
  std::uint64_t value = 0;
  const std::size_t first = k;
  for (; k < text.size() && text[k] != ';'; ++k) {
    const char d = text[k];
    const int digit = d >= '0' && d <= '9'          ? d - '0'
                      : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                      : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                    : -1;
    if (digit < 0) return std::nullopt;
    value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit), 0x110000);
  }
  if (k == first || k >= text.size()) return std::nullopt;
  return std::pair{value, k + 1};
}

// Whether text starts with a reference to one of the five entities XML predefines: the
// documents have no declarations of their own.
bool predefinedEntity(std::string_view text) {
  for (std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
    if (text.starts_with(entity)) return true;
  }
  return false;
}

XmlParseError problemAt(std::string_view text, std::size_t offset, std::int32_t code, std::string reason) {
  XmlParseError error{code, std::move(reason) + "\r\n", 1, 1};
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++error.line;
      error.position = 1;
    } else {
      ++error.position;
    }
  }
  return error;
}

}  // namespace

std::optional<XmlParseError> characterProblem(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto [c, length] = strictUtf8At(text, i);
    if (length == 0) return problemAt(text, i, kNotUtf8, "Input is not proper UTF-8");
    if (!isXmlChar(c))
      return problemAt(text, i, kInvalidChar,
                       "Char 0x" + std::to_string(static_cast<std::uint32_t>(c)) + " out of allowed range");
    if (const auto ref = reference(text, i)) {
      if (ref->first > 0x10FFFF || !isXmlChar(static_cast<char32_t>(ref->first)))
        return problemAt(text, i, kInvalidCharRef, "invalid xmlChar value " + std::to_string(ref->first));
    } else if (c == '&' && !predefinedEntity(text.substr(i))) {
      return problemAt(text, i, kUndeclaredEntity, "An entity is not one XML predefines");
    } else if (text.compare(i, 3, "]]>") == 0) {
      return problemAt(text, i, kMisplacedCdataEnd, "Sequence ']]>' not allowed in content");
    }
    i += length;
  }
  return std::nullopt;
}

}  // namespace tessalune::platform
