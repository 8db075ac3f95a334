#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tessalune::platform {

// Language identifiers of the six languages the plug-in speaks.
namespace language {
inline constexpr int kCatalan = 1027;
inline constexpr int kEnglish = 1033;
inline constexpr int kSpanish = 1034;
inline constexpr int kFrench = 1036;
inline constexpr int kItalian = 1040;
inline constexpr int kDutch = 1043;
}  // namespace language

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The user's interface language, from LC_ALL, else LC_MESSAGES, else LANG (the first
// that is set and not empty): fr, en, es, ca, it, nl; anything else is English.
int uiLanguage(const EnvironmentLookup& environment);

// The same from the process environment.
int uiLanguage();

}  // namespace tessalune::platform
