#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessalune::engine {

// Text crosses every interface as UTF-8. Bytes that are not valid UTF-8 are read as
// Windows-1252, the character set the plug-in's files were historically written in,
// so nothing a user supplies is ever dropped or turned into an error.
std::u32string decodeUtf8(std::string_view text);
// Decodes the character at byte position i into c, as decodeUtf8 does; returns its length
// in bytes.
std::size_t decodeUtf8At(std::string_view text, std::size_t i, char32_t& c);
std::string encodeUtf8(std::u32string_view text);
void appendUtf8(std::string& out, char32_t c);

// text itself when it is valid UTF-8, otherwise its repaired copy.
std::string ensureUtf8(std::string_view text);
// Text from outside (the network) made fit to show: repaired as above, and every control
// character but a line break or a tab replaced by U+FFFD, so that nothing in it acts on a
// terminal (escape sequences, bells, titles).
std::string shownAsText(std::string_view text);
bool isValidUtf8(std::string_view text);

// Every byte read as one Windows-1252 character.
std::string windows1252ToUtf8(std::string_view bytes);

// The text of a file: UTF-8 when the whole file is valid UTF-8, else Windows-1252.
std::string decodeTextFile(std::string_view bytes);

// The length of the sequence that starts with lead, in text known to be valid UTF-8.
inline std::size_t utf8SequenceLength(char lead) {
  const auto byte = static_cast<unsigned char>(lead);
  return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

// Byte length of the first `chars` characters of text (all of it when shorter).
std::size_t byteLengthOfChars(std::string_view text, std::size_t chars);
std::size_t countChars(std::string_view text);

}  // namespace tessalune::engine
