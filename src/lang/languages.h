#pragma once

#include <array>
#include <string_view>

#include "platform/ui_language.h"

namespace tessalune::lang {

// One language of the preferences list combo_lang. The list's entries are fixed and not
// translated.
struct Language {
  std::string_view entry;     // text of the list entry
  std::string_view code;      // value of /config/lang
  std::string_view fileName;  // language file, without ".lng"
  std::string_view helpBase;  // help file, without its extension
  int catalogueId;            // message table of the same language
};

// In the order of the list: the list index is the position here.
inline constexpr std::array<Language, 6> kLanguages{{
    {"Français", "fr", "french", "lisezmoi", platform::language::kFrench},
    {"English", "en", "english", "readme", platform::language::kEnglish},
    {"Dutch", "nl", "dutch", "leesmij", platform::language::kDutch},
    {"Español", "es", "spanish", "leeme", platform::language::kSpanish},
    {"Català", "ca", "catalan", "llegeix-me", platform::language::kCatalan},
    {"Italiano", "it", "italian", "leggimi", platform::language::kItalian},
}};

inline constexpr int kEnglishIndex = 1;

// The list index a /config/lang value selects: its own language, English for any value
// that is none of the six codes.
constexpr int languageIndex(std::string_view code) {
  for (std::size_t i = 0; i < kLanguages.size(); ++i) {
    if (kLanguages[i].code == code) return static_cast<int>(i);
  }
  return kEnglishIndex;
}

// The language at a list index, or nullptr outside 0 to 5 (no selection).
constexpr const Language* languageAt(int index) {
  if (index < 0 || index >= static_cast<int>(kLanguages.size())) return nullptr;
  return &kLanguages[static_cast<std::size_t>(index)];
}

}  // namespace tessalune::lang
