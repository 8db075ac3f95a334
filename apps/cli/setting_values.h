#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessalune::cli {

// One of the configuration's value elements and what it holds.
struct SettingRule {
  std::string path;  // "/config/nickprefs/FGcolor"
  enum class Kind { Flag, Language, ForegroundType, BackgroundType, GradientType, Colour } kind;
};

// The 27 value elements, in the file's order.
const std::vector<SettingRule>& settingRules();

// The element a path names, given with or without its leading "/config/"; nothing for a
// path that names no value element.
const SettingRule* findSetting(std::string_view path);

// The value as it is written (a colour in upper case), or nothing when the element cannot
// hold it.
std::optional<std::string> normalisedValue(const SettingRule& rule, std::string_view value);

// What the element accepts, for the refusal: "0 or 1", "#RRGGBB", "fr, en, nl, es, ca or it".
std::string allowedValues(const SettingRule& rule);

}  // namespace tessalune::cli
