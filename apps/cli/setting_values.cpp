#include "setting_values.h"

#include <algorithm>
#include <cctype>

#include "io.h"
#include "lang/languages.h"

namespace tessalune::cli {

const std::vector<SettingRule>& settingRules() {
  static const std::vector<SettingRule> rules = [] {
    using Kind = SettingRule::Kind;
    std::vector<SettingRule> all{{"/config/suffix", Kind::Flag},
                                 {"/config/all", Kind::Flag},
                                 {"/config/update", Kind::Flag},
                                 {"/config/lang", Kind::Language},
                                 {"/config/replaceQN", Kind::Flag}};
    for (const char* preset : {"/config/nickprefs/", "/config/textprefs/"}) {
      const std::string root(preset);
      all.push_back({root + "enabled", Kind::Flag});
      all.push_back({root + "FGtype", Kind::ForegroundType});
      all.push_back({root + "BGtype", Kind::BackgroundType});
      all.push_back({root + "FGgradtype", Kind::GradientType});
      all.push_back({root + "BGgradtype", Kind::GradientType});
      for (const char* colour : {"FGcolor", "FGgrad1", "FGgrad2", "BGcolor", "BGgrad1", "BGgrad2"})
        all.push_back({root + colour, Kind::Colour});
    }
    return all;
  }();
  return rules;
}

const SettingRule* findSetting(std::string_view path) {
  const std::string full = path.starts_with("/config/") ? std::string(path) : "/config/" + std::string(path);
  const auto& rules = settingRules();
  const auto found =
      std::find_if(rules.begin(), rules.end(), [&](const SettingRule& r) { return r.path == full; });
  return found == rules.end() ? nullptr : &*found;
}

std::optional<std::string> normalisedValue(const SettingRule& rule, std::string_view value) {
  const std::string text(value);
  const auto oneOf = [&](std::initializer_list<const char*> allowed) -> std::optional<std::string> {
    for (const char* a : allowed) {
      if (text == a) return text;
    }
    return std::nullopt;
  };
  switch (rule.kind) {
    case SettingRule::Kind::Flag:
      return oneOf({"0", "1"});
    case SettingRule::Kind::ForegroundType:
      return oneOf({"1", "2"});
    case SettingRule::Kind::BackgroundType:
      return oneOf({"0", "1", "2"});
    case SettingRule::Kind::GradientType:
      return oneOf({"1", "2", "3", "4"});
    case SettingRule::Kind::Language:
      for (const lang::Language& language : lang::kLanguages) {
        if (text == language.code) return text;
      }
      return std::nullopt;
    case SettingRule::Kind::Colour: {
      if (!isColourText(text)) return std::nullopt;
      std::string upper = text;
      std::transform(upper.begin(), upper.end(), upper.begin(),
                     [](unsigned char c) { return std::toupper(c); });
      return upper;
    }
  }
  return std::nullopt;
}

std::string allowedValues(const SettingRule& rule) {
  switch (rule.kind) {
    case SettingRule::Kind::Flag:
      return "0 or 1";
    case SettingRule::Kind::ForegroundType:
      return "1 (solid) or 2 (gradient)";
    case SettingRule::Kind::BackgroundType:
      return "0 (none), 1 (solid) or 2 (gradient)";
    case SettingRule::Kind::GradientType:
      return "1, 2, 3 or 4";
    case SettingRule::Kind::Colour:
      return "#RRGGBB";
    case SettingRule::Kind::Language: {
      std::string list;
      const std::size_t count = std::size(lang::kLanguages);
      for (std::size_t i = 0; i < count; ++i) {
        list += std::string(lang::kLanguages[i].code) + (i + 2 < count ? ", " : i + 1 < count ? " or " : "");
      }
      return list;
    }
  }
  return {};
}

}  // namespace tessalune::cli
