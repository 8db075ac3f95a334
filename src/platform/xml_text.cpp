#include "platform/xml_text.h"

#include <cstdint>
#include <cstdio>

namespace tessalune::platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The character at text[i] and its length in bytes; length 0 for a byte that does not
// start a well-formed UTF-8 character (overlong forms, surrogates and values past
// U+10FFFF included).
std::pair<char32_t, std::size_t> decodeAt(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    return {0, 0};
  }
  if (i + length > text.size()) return {0, 0};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {0, 0};
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
  return {c, length};
}

}  // namespace

std::optional<std::string> xmlTextProblem(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto [c, length] = decodeAt(text, i);
    if (length == 0) return "invalid UTF-8";
    if (!isXmlChar(c)) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
      return std::string(name);
    }
    i += length;
  }
  return std::nullopt;
}

std::string xmlSafeText(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto [c, length] = decodeAt(text, i);
    if (length == 0) {
      safe += kReplacement;
      ++i;
      continue;
    }
    if (isXmlChar(c)) safe.append(text.substr(i, length));
    i += length;
  }
  return safe;
}

}  // namespace tessalune::platform
