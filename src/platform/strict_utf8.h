#pragma once

#include <cstddef>
#include <string_view>

namespace tessalune::platform {

// One character read from UTF-8 text: its code point and its length in bytes.
struct Utf8Char {
  char32_t ch = 0;
  std::size_t length = 0;  // 0: the bytes there are not a well-formed character
};

// The character that starts at byte i of text, read strictly: a continuation byte, a
// sequence cut short or broken, an overlong form, a surrogate or a value past U+10FFFF
// gives length 0, and the caller decides what such a byte stands for.
constexpr Utf8Char strictUtf8At(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return {};
  }
  if (i + length > text.size()) return {};
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = byte(i + k);
    if ((next & 0xC0) != 0x80) return {};
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
  return {value, length};
}

}  // namespace tessalune::platform
