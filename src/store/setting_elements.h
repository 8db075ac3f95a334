#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/settings.h"
#include "store/store_context.h"

namespace tessalune::store {

// The value elements of the configuration file, in the file's order: the general ones,
// then the nickname's preset and the message's, each enabled flag, the two types, the two
// gradient presets, the characters' three colours and the background's.
enum class Setting : std::uint8_t {
  Suffix,
  All,
  Update,
  Language,
  ReplaceQN,
  NickEnabled,
  NickFGType,
  NickBGType,
  NickFGGradient,
  NickBGGradient,
  NickFGColour,
  NickFGGradient1,
  NickFGGradient2,
  NickBGColour,
  NickBGGradient1,
  NickBGGradient2,
  TextEnabled,
  TextFGType,
  TextBGType,
  TextFGGradient,
  TextBGGradient,
  TextFGColour,
  TextFGGradient1,
  TextFGGradient2,
  TextBGColour,
  TextBGGradient1,
  TextBGGradient2,
};
inline constexpr std::size_t kSettingCount = 27;
inline constexpr auto kAllSettings = [] {
  std::array<Setting, kSettingCount> all{};
  for (std::size_t i = 0; i < kSettingCount; ++i) all[i] = static_cast<Setting>(i);
  return all;
}();

// Some of the settings, e.g. those a load found.
class SettingSet {
 public:
  static SettingSet all() { return SettingSet(std::bitset<kSettingCount>().set()); }
  SettingSet() = default;
  bool has(Setting s) const { return bits_[index(s)]; }
  void add(Setting s) { bits_.set(index(s)); }

 private:
  explicit SettingSet(std::bitset<kSettingCount> bits) : bits_(bits) {}
  static std::size_t index(Setting s) { return static_cast<std::size_t>(s); }
  std::bitset<kSettingCount> bits_;
};

// What an element holds: "0" or "1"; a language code; the characters' type (1 solid, 2
// gradient); the background's (0 none, 1 solid, 2 gradient); a gradient preset 1 to 4; a
// colour "#RRGGBB".
enum class SettingKind { Flag, Language, ForegroundType, BackgroundType, GradientPreset, Colour };

SettingKind settingKind(Setting s);
// The element's path, "/config/nickprefs/FGcolor".
std::string_view settingPath(Setting s);
// The setting a path names, given with or without its leading "/config/".
std::optional<Setting> findSetting(std::string_view path);

// The value as a number: a flag 0 or 1, the language's position, a type, a preset, a colour.
std::int64_t settingValue(const Settings& settings, Setting s);
void setSettingValue(Settings& settings, Setting s, std::int64_t value);

// The value as the file holds it ("" for no language).
std::string settingText(const Settings& settings, Setting s);

// How a load took an element's text.
enum class TextRead {
  Taken,           // well formed
  TakenAsDefault,  // malformed: the value is the default the element's rule names
  Refused,         // malformed: the value is left as it was (a colour)
};
// Puts the text the file holds into the setting, leniently as a load does: a flag is on
// only for "1", an unknown language is English, an unknown type is solid (characters) or
// none (background), an unknown preset is the first.
TextRead readSettingText(Settings& settings, Setting s, std::string_view text);

// The text a person's value is written as (a colour in upper case); nothing when the
// element cannot hold it.
std::optional<std::string> checkedSettingText(Setting s, std::string_view value);
// What the element accepts, for a refusal: "0 or 1", "#RRGGBB", "fr, en, nl, es, ca or it".
std::string allowedSettingValues(Setting s);

// Writes the setting's value as its one element of the file (see writeConfig).
void writeSetting(Setting s, const Settings& settings, StoreContext& ctx);

}  // namespace tessalune::store
