// The version file and the Content-length header as the server sends them. A version that
// is read writes back as the text it came from; a length that is read is the positive
// 32-bit number its digits say.
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "fuzz_support.h"
#include "update/update_controller.h"

using namespace tessalune;

namespace {

std::string_view trimmed(std::string_view text, bool front) {
  const auto space = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
  };
  while (front && !text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const auto version = update::parseVersionFile(input)) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%03d", version->major, version->minor, version->revision);
    if (trimmed(input, false) != text) fuzz::broken("a version read is not the text it came from");
  }
  if (const auto length = update::parseContentLength(input)) {
    const std::string_view digits = trimmed(input, true);
    std::int64_t value = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || value != *length || *length <= 0 ||
        *length > INT32_MAX) {
      fuzz::broken("a length read is not the number its digits say");
    }
  }
  return 0;
}
