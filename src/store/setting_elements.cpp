#include "store/setting_elements.h"

#include <algorithm>
#include <type_traits>
#include <vector>

#include "engine/colour.h"
#include "engine/utf8.h"
#include "lang/languages.h"
#include "store/config_file.h"

namespace tessalune::store {

namespace {

using engine::StyleKind;
using engine::StylePreset;
using Kind = SettingKind;

// How an element's value is reached in the settings.
struct Access {
  std::int64_t (*get)(const Settings&);
  void (*set)(Settings&, std::int64_t);
};

template <auto Field>
constexpr Access field() {
  return {[](const Settings& s) { return static_cast<std::int64_t>(s.*Field); },
          [](Settings& s, std::int64_t v) {
            s.*Field = static_cast<std::remove_cvref_t<decltype(s.*Field)>>(v);
          }};
}

template <auto Preset, auto Field>
constexpr Access field() {
  return {[](const Settings& s) { return static_cast<std::int64_t>((s.*Preset).*Field); },
          [](Settings& s, std::int64_t v) {
            auto& f = (s.*Preset).*Field;
            f = static_cast<std::remove_cvref_t<decltype(f)>>(v);
          }};
}

struct Element {
  Setting setting;
  std::string_view path;
  Kind kind;
  Access access;
};

constexpr auto kNick = &Settings::nick;
constexpr auto kText = &Settings::text;

// The one place the configuration's element names are spelled.
constexpr std::array<Element, kSettingCount> kElements{{
    {Setting::Suffix, "/config/suffix", Kind::Flag, field<&Settings::suffix>()},
    {Setting::All, "/config/all", Kind::Flag, field<&Settings::all>()},
    {Setting::Update, "/config/update", Kind::Flag, field<&Settings::update>()},
    {Setting::Language, "/config/lang", Kind::Language, field<&Settings::language>()},
    {Setting::ReplaceQN, "/config/replaceQN", Kind::Flag, field<&Settings::replaceQN>()},
    {Setting::NickEnabled, "/config/nickprefs/enabled", Kind::Flag, field<kNick, &StylePreset::enabled>()},
    {Setting::NickFGType, "/config/nickprefs/FGtype", Kind::ForegroundType,
     field<kNick, &StylePreset::FGtype>()},
    {Setting::NickBGType, "/config/nickprefs/BGtype", Kind::BackgroundType,
     field<kNick, &StylePreset::BGtype>()},
    {Setting::NickFGGradient, "/config/nickprefs/FGgradtype", Kind::GradientPreset,
     field<kNick, &StylePreset::FGgradtype>()},
    {Setting::NickBGGradient, "/config/nickprefs/BGgradtype", Kind::GradientPreset,
     field<kNick, &StylePreset::BGgradtype>()},
    {Setting::NickFGColour, "/config/nickprefs/FGcolor", Kind::Colour, field<kNick, &StylePreset::FGcolor>()},
    {Setting::NickFGGradient1, "/config/nickprefs/FGgrad1", Kind::Colour,
     field<kNick, &StylePreset::FGgrad1>()},
    {Setting::NickFGGradient2, "/config/nickprefs/FGgrad2", Kind::Colour,
     field<kNick, &StylePreset::FGgrad2>()},
    {Setting::NickBGColour, "/config/nickprefs/BGcolor", Kind::Colour, field<kNick, &StylePreset::BGcolor>()},
    {Setting::NickBGGradient1, "/config/nickprefs/BGgrad1", Kind::Colour,
     field<kNick, &StylePreset::BGgrad1>()},
    {Setting::NickBGGradient2, "/config/nickprefs/BGgrad2", Kind::Colour,
     field<kNick, &StylePreset::BGgrad2>()},
    {Setting::TextEnabled, "/config/textprefs/enabled", Kind::Flag, field<kText, &StylePreset::enabled>()},
    {Setting::TextFGType, "/config/textprefs/FGtype", Kind::ForegroundType,
     field<kText, &StylePreset::FGtype>()},
    {Setting::TextBGType, "/config/textprefs/BGtype", Kind::BackgroundType,
     field<kText, &StylePreset::BGtype>()},
    {Setting::TextFGGradient, "/config/textprefs/FGgradtype", Kind::GradientPreset,
     field<kText, &StylePreset::FGgradtype>()},
    {Setting::TextBGGradient, "/config/textprefs/BGgradtype", Kind::GradientPreset,
     field<kText, &StylePreset::BGgradtype>()},
    {Setting::TextFGColour, "/config/textprefs/FGcolor", Kind::Colour, field<kText, &StylePreset::FGcolor>()},
    {Setting::TextFGGradient1, "/config/textprefs/FGgrad1", Kind::Colour,
     field<kText, &StylePreset::FGgrad1>()},
    {Setting::TextFGGradient2, "/config/textprefs/FGgrad2", Kind::Colour,
     field<kText, &StylePreset::FGgrad2>()},
    {Setting::TextBGColour, "/config/textprefs/BGcolor", Kind::Colour, field<kText, &StylePreset::BGcolor>()},
    {Setting::TextBGGradient1, "/config/textprefs/BGgrad1", Kind::Colour,
     field<kText, &StylePreset::BGgrad1>()},
    {Setting::TextBGGradient2, "/config/textprefs/BGgrad2", Kind::Colour,
     field<kText, &StylePreset::BGgrad2>()},
}};

static_assert(std::ranges::all_of(kAllSettings,
                                  [](Setting s) {
                                    return kElements[static_cast<std::size_t>(s)].setting == s;
                                  }),
              "the elements follow the order of Setting");

const Element& element(Setting s) {
  return kElements[static_cast<std::size_t>(s)];
}

// The allowed texts of the small kinds, in the order a refusal lists them.
std::vector<std::string_view> allowedTexts(Kind kind) {
  switch (kind) {
    case Kind::Flag:
      return {"0", "1"};
    case Kind::ForegroundType:
      return {"1", "2"};
    case Kind::BackgroundType:
      return {"0", "1", "2"};
    case Kind::GradientPreset:
      return {"1", "2", "3", "4"};
    case Kind::Language: {
      std::vector<std::string_view> codes;
      for (const lang::Language& language : lang::kLanguages) codes.push_back(language.code);
      return codes;
    }
    case Kind::Colour:
      break;
  }
  return {};
}

}  // namespace

SettingKind settingKind(Setting s) {
  return element(s).kind;
}

std::string_view settingPath(Setting s) {
  return element(s).path;
}

std::optional<Setting> findSetting(std::string_view path) {
  const std::string full = path.starts_with("/config/") ? std::string(path) : "/config/" + std::string(path);
  const auto found = std::ranges::find(kElements, std::string_view(full), &Element::path);
  if (found == kElements.end()) return std::nullopt;
  return found->setting;
}

std::int64_t settingValue(const Settings& settings, Setting s) {
  return element(s).access.get(settings);
}

void setSettingValue(Settings& settings, Setting s, std::int64_t value) {
  element(s).access.set(settings, value);
}

std::string settingText(const Settings& settings, Setting s) {
  const std::int64_t value = settingValue(settings, s);
  switch (settingKind(s)) {
    case Kind::Language: {
      const lang::Language* language = lang::languageAt(static_cast<int>(value));
      return language ? std::string(language->code) : std::string();
    }
    case Kind::Colour:
      return engine::rgb2hex(static_cast<engine::ColourNumber>(value));
    default:
      return std::to_string(value);
  }
}

TextRead readSettingText(Settings& settings, Setting s, std::string_view text) {
  const Kind kind = settingKind(s);
  const std::vector<std::string_view> allowed = allowedTexts(kind);
  const bool wellFormed = std::ranges::find(allowed, text) != allowed.end();
  const auto take = [&](std::int64_t value, bool formed) {
    setSettingValue(settings, s, value);
    return formed ? TextRead::Taken : TextRead::TakenAsDefault;
  };
  switch (kind) {
    case Kind::Flag:
      return take(text == "1", true);
    case Kind::Language:
      return take(lang::languageIndex(text), true);
    case Kind::ForegroundType:
      return take(static_cast<std::int64_t>(text == "2" ? StyleKind::Gradient : StyleKind::Solid),
                  wellFormed);
    case Kind::BackgroundType:
      return take(wellFormed ? text[0] - '0' : static_cast<std::int64_t>(StyleKind::None), wellFormed);
    case Kind::GradientPreset:
      return take(wellFormed ? text[0] - '0' : presetNumber(engine::GradientPreset::Grad1), wellFormed);
    case Kind::Colour:
      // Only the shape is checked: a pair that is not hexadecimal reads as 0.
      if (engine::countChars(text) != 7 || text.front() != '#') return TextRead::Refused;
      return take(engine::hex2rgb(text), true);
  }
  return TextRead::Refused;
}

std::optional<std::string> checkedSettingText(Setting s, std::string_view value) {
  if (settingKind(s) == Kind::Colour) {
    const std::optional<engine::ColourNumber> colour = engine::colourFromHex(value);
    if (!colour) return std::nullopt;
    return engine::rgb2hex(*colour);
  }
  const std::vector<std::string_view> allowed = allowedTexts(settingKind(s));
  if (std::ranges::find(allowed, value) == allowed.end()) return std::nullopt;
  return std::string(value);
}

std::string allowedSettingValues(Setting s) {
  switch (settingKind(s)) {
    case Kind::Flag:
      return "0 or 1";
    case Kind::ForegroundType:
      return "1 (solid) or 2 (gradient)";
    case Kind::BackgroundType:
      return "0 (none), 1 (solid) or 2 (gradient)";
    case Kind::GradientPreset:
      return "1, 2, 3 or 4";
    case Kind::Colour:
      return "#RRGGBB";
    case Kind::Language:
      break;
  }
  const std::vector<std::string_view> codes = allowedTexts(Kind::Language);
  std::string list;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    list += std::string(codes[i]) + (i + 2 < codes.size() ? ", " : i + 1 < codes.size() ? " or " : "");
  }
  return list;
}

void writeSetting(Setting s, const Settings& settings, StoreContext& ctx) {
  writeConfig(settingPath(s), settingText(settings, s), ctx);
}

}  // namespace tessalune::store
