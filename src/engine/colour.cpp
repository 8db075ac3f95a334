#include "engine/colour.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "engine/utf8.h"

namespace tessalune::engine {

namespace {

ColourNumber parseColourNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || end != text.data() + text.size() ||
      (error != std::errc{} && error != std::errc::result_out_of_range)) {
    throw errors::RuntimeFailure(errors::failure::kTypeMismatch, "Type mismatch");
  }
  if (error == std::errc::result_out_of_range || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::uint32_t>::max()) {
    errors::raiseOverflow();
  }
  return static_cast<ColourNumber>(value) & kRgbMask;
}

constexpr int hexDigit(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  return -1;
}

int hexPair(char32_t high, char32_t low) {
  const int h = hexDigit(high);
  const int l = hexDigit(low);
  return h < 0 || l < 0 ? 0 : h * 16 + l;
}

}  // namespace

int GetRGBColor(std::string_view colourText, int component, errors::FailureContext& ctx) {
  return errors::guardRoutine(ctx, "GetRGBColor", 0, [&] {
    ctx.step.reset();
    ctx.step.advance();
    const ColourNumber colour = parseColourNumber(colourText);
    switch (component) {
      case 1:
        return redOf(colour);
      case 2:
        return blueOf(colour);
      case 3:
        return greenOf(colour);
      default:
        return 0;
    }
  });
}

std::string rgb2hex(ColourNumber colour) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::array<int, 3> components = {redOf(colour), greenOf(colour), blueOf(colour)};
  std::string out = "#";
  for (int c : components) {
    out.push_back(kDigits[c >> 4]);
    out.push_back(kDigits[c & 0xF]);
  }
  return out;
}

namespace {

template <typename Char>
ColourNumber lastSixAsColour(std::basic_string_view<Char> text) {
  std::array<char32_t, 6> six{U'0', U'0', U'0', U'0', U'0', U'0'};
  const std::size_t kept = std::min<std::size_t>(text.size(), 6);
  std::transform(text.end() - static_cast<std::ptrdiff_t>(kept), text.end(),
                 six.end() - static_cast<std::ptrdiff_t>(kept),
                 [](Char c) { return static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(c)); });
  return makeColour(hexPair(six[0], six[1]), hexPair(six[2], six[3]), hexPair(six[4], six[5]));
}

}  // namespace

ColourNumber hex2rgb(std::string_view text) {
  // The common form, "#" and six hexadecimal digits, read directly through a table.
  static constexpr auto kHexValue = [] {
    std::array<std::int8_t, 256> value{};
    value.fill(-1);
    for (int c = 0; c < 256; ++c)
      value[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(hexDigit(static_cast<char32_t>(c)));
    return value;
  }();
  if (text.size() == 7 && text[0] == '#') {
    int digits[6];
    int invalid = 0;
    for (std::size_t i = 0; i < 6; ++i) {
      digits[i] = kHexValue[static_cast<unsigned char>(text[i + 1])];
      invalid |= digits[i];
    }
    if (invalid >= 0) {
      return makeColour(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3], digits[4] * 16 + digits[5]);
    }
  }
  // Characters count, not bytes: ASCII text is read as it is, anything else decoded.
  const bool ascii =
      std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii ? lastSixAsColour(text) : hex2rgb(decodeUtf8(text));
}

std::optional<ColourNumber> colourFromHex(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  for (char c : text.substr(1)) {
    if (hexDigit(static_cast<unsigned char>(c)) < 0) return std::nullopt;
  }
  return hex2rgb(text);
}

ColourNumber hex2rgb(std::u32string_view text) {
  return lastSixAsColour(text);
}

}  // namespace tessalune::engine
