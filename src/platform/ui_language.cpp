#include "platform/ui_language.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace tessalune::platform {

int uiLanguage(const EnvironmentLookup& environment) {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (auto value = environment(name); value && !value->empty()) {
      locale = *value;
      break;
    }
  }
  const std::string_view code = std::string_view(locale).substr(0, locale.find_first_of("_.@-"));
  static constexpr std::array<std::pair<std::string_view, int>, 6> kCodes = {{{"fr", language::kFrench},
                                                                              {"en", language::kEnglish},
                                                                              {"es", language::kSpanish},
                                                                              {"ca", language::kCatalan},
                                                                              {"it", language::kItalian},
                                                                              {"nl", language::kDutch}}};
  for (const auto& [prefix, id] : kCodes) {
    if (code == prefix) return id;
  }
  return language::kEnglish;
}

int uiLanguage() {
  return uiLanguage([](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  });
}

}  // namespace tessalune::platform
