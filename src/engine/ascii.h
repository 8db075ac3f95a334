#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tessalune::engine {

// Lower-casing of the ASCII letters only, whatever the process's locale: command words,
// control names and protocol tokens are ASCII, and a byte of a UTF-8 sequence passes as it
// is.
constexpr char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowered(std::string_view text) {
  std::string out(text);
  std::ranges::transform(out, out.begin(), asciiLower);
  return out;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

}  // namespace tessalune::engine
