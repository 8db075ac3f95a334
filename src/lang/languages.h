#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/ui_language.h"

namespace tessalune::lang {

// One language the plug-in speaks: a row of the one languages table, read by the plug-in,
// every host and the web page.
struct Language {
  std::string_view entry;       // the preferences list's entry, fixed and not translated
  std::string_view code;        // value of /config/lang
  std::string_view fileName;    // language file, without ".lng"
  std::string_view helpBase;    // help file, without its extension
  int catalogueId;              // the language identifier (LCID) of its message table
  std::string_view nativeName;  // its name in itself, as the web page offers it
  int position;                 // its place in the preferences list
};

// In the order of the list: a row's position is its place here.
inline constexpr std::array<Language, 6> kLanguages{{
    {"Français", "fr", "french", "lisezmoi", platform::language::kFrench, "Français", 0},
    {"English", "en", "english", "readme", platform::language::kEnglish, "English", 1},
    {"Dutch", "nl", "dutch", "leesmij", platform::language::kDutch, "Nederlands", 2},
    {"Español", "es", "spanish", "leeme", platform::language::kSpanish, "Español", 3},
    {"Català", "ca", "catalan", "llegeix-me", platform::language::kCatalan, "Català", 4},
    {"Italiano", "it", "italian", "leggimi", platform::language::kItalian, "Italiano", 5},
}};

static_assert([] {
  for (std::size_t i = 0; i < kLanguages.size(); ++i) {
    if (kLanguages[i].position != static_cast<int>(i)) return false;
  }
  return true;
}());

// One of the six languages, known by its message table's language identifier. Only the
// table makes one, so it always names a row; a value that names none is turned into the
// fallback, or into no language, where it enters.
class LanguageId {
 public:
  // The language of anything that names none of the six: English.
  static constexpr LanguageId fallback() { return *ofCode("en"); }

  // The language at a place of the preferences list; none outside 0 to 5 (no selection).
  static constexpr std::optional<LanguageId> atPosition(int position) {
    if (position < 0 || position >= static_cast<int>(kLanguages.size())) return std::nullopt;
    return LanguageId(kLanguages[static_cast<std::size_t>(position)].catalogueId);
  }
  // The language of a message table's identifier; none for any other number.
  static constexpr std::optional<LanguageId> ofCatalogue(int catalogueId) {
    for (const Language& row : kLanguages) {
      if (row.catalogueId == catalogueId) return LanguageId(catalogueId);
    }
    return std::nullopt;
  }
  // The language of a /config/lang value; none for a value that is none of the six codes.
  static constexpr std::optional<LanguageId> ofCode(std::string_view code) {
    for (const Language& row : kLanguages) {
      if (row.code == code) return LanguageId(row.catalogueId);
    }
    return std::nullopt;
  }

  constexpr int catalogueId() const { return catalogueId_; }
  constexpr const Language& row() const {
    for (const Language& row : kLanguages) {
      if (row.catalogueId == catalogueId_) return row;
    }
    return kLanguages.front();  // unreachable: only the table makes a LanguageId
  }
  constexpr int position() const { return row().position; }

  friend constexpr bool operator==(LanguageId, LanguageId) = default;

 private:
  constexpr explicit LanguageId(int catalogueId) : catalogueId_(catalogueId) {}
  int catalogueId_;
};

// The list index a /config/lang value selects: its own language, the fallback for any value
// that is none of the six codes.
constexpr int languageIndex(std::string_view code) {
  return LanguageId::ofCode(code).value_or(LanguageId::fallback()).position();
}

// The language at a list index, or nullptr outside 0 to 5 (no selection).
constexpr const Language* languageAt(int index) {
  const std::optional<LanguageId> language = LanguageId::atPosition(index);
  return language ? &language->row() : nullptr;
}

}  // namespace tessalune::lang
