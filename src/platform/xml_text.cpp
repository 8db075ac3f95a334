#include "platform/xml_text.h"

#include <cstdio>

#include "platform/strict_utf8.h"

namespace tessalune::platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::optional<std::string> xmlTextProblem(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto [c, length] = strictUtf8At(text, i);
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
    const auto [c, length] = strictUtf8At(text, i);
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
