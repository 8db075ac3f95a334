#include "engine/utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/cp1252.h"
#include "platform/strict_utf8.h"

namespace tessalune::engine {

namespace {

// Length in bytes of the valid UTF-8 sequence at text[i], or 0 when there is none.
std::size_t validSequenceLength(std::string_view text, std::size_t i, char32_t& decoded) {
  const platform::Utf8Char c = platform::strictUtf8At(text, i);
  if (c.length != 0) decoded = c.ch;
  return c.length;
}

}  // namespace

std::size_t decodeUtf8At(std::string_view text, std::size_t i, char32_t& c) {
  const std::size_t length = validSequenceLength(text, i, c);
  if (length != 0) return length;
  c = cp1252ToUnicode(static_cast<unsigned char>(text[i]));
  return 1;
}

std::u32string decodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    i += decodeUtf8At(text, i, c);
    out.push_back(c);
  }
  return out;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string encodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) appendUtf8(out, c);
  return out;
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    // Most text is ASCII: skip it eight bytes at a time, up to the first byte that is not.
    if (i + 8 <= text.size()) {
      std::uint64_t block = 0;
      std::memcpy(&block, text.data() + i, 8);
      const std::uint64_t high = block & 0x8080808080808080ull;
      if constexpr (std::endian::native == std::endian::little) {
        i += static_cast<std::size_t>(high == 0 ? 64 : std::countr_zero(high)) / 8;
      } else if (high == 0) {
        i += 8;
      }
      if (high == 0) continue;
    }
    // Then single ASCII bytes and two-byte sequences (accented Latin letters, the code
    // dot) without decoding.
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      i += 2;
      continue;
    }
    char32_t c = 0;
    const std::size_t length = validSequenceLength(text, i, c);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string ensureUtf8(std::string_view text) {
  if (isValidUtf8(text)) return std::string(text);
  return encodeUtf8(decodeUtf8(text));
}

std::string shownAsText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : decodeUtf8(text)) {
    const bool control = (c < 0x20 && c != U'\r' && c != U'\n' && c != U'\t') || (c >= 0x7F && c <= 0x9F);
    appendUtf8(out, control ? U'\uFFFD' : c);
  }
  return out;
}

std::string windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes) appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(byte)));
  return out;
}

std::string decodeTextFile(std::string_view bytes) {
  return isValidUtf8(bytes) ? std::string(bytes) : windows1252ToUtf8(bytes);
}

std::size_t byteLengthOfChars(std::string_view text, std::size_t chars) {
  if (chars <= text.size() && std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(chars),
                                          [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return chars;
  }
  std::size_t i = 0;
  for (std::size_t n = 0; n < chars && i < text.size(); ++n) {
    char32_t c = 0;
    const std::size_t length = validSequenceLength(text, i, c);
    i += length == 0 ? 1 : length;
  }
  return i;
}

std::size_t countChars(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) {
    char32_t c = 0;
    const std::size_t length = validSequenceLength(text, i, c);
    i += length == 0 ? 1 : length;
  }
  return n;
}

}  // namespace tessalune::engine
