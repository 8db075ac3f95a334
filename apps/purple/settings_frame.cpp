#include "settings_frame.h"

#include <array>
#include <utility>

#include "lang/languages.h"

namespace tessalune::purple {

namespace {

using store::Setting;
using store::SettingKind;
using Word = PurpleText;

// One side of a style, its characters or its background, and the settings that make it.
struct Side {
  Word name;
  Setting type, colour, gradient, first, second;
};

struct Style {
  Word heading;
  Setting enabled;
  Side characters, background;
};

constexpr std::array<Style, 2> kStyles{{
    {Word::PrefNicknames,
     Setting::NickEnabled,
     {Word::PrefCharacters, Setting::NickFGType, Setting::NickFGColour, Setting::NickFGGradient,
      Setting::NickFGGradient1, Setting::NickFGGradient2},
     {Word::PrefBackground, Setting::NickBGType, Setting::NickBGColour, Setting::NickBGGradient,
      Setting::NickBGGradient1, Setting::NickBGGradient2}},
    {Word::PrefMessages,
     Setting::TextEnabled,
     {Word::PrefCharacters, Setting::TextFGType, Setting::TextFGColour, Setting::TextFGGradient,
      Setting::TextFGGradient1, Setting::TextFGGradient2},
     {Word::PrefBackground, Setting::TextBGType, Setting::TextBGColour, Setting::TextBGGradient,
      Setting::TextBGGradient1, Setting::TextBGGradient2}},
}};

// The entry's name in the client's preferences: the element's path below the branch.
std::string prefName(Setting s) {
  std::string_view path = store::settingPath(s);
  path.remove_prefix(std::string_view("/config").size());
  return SettingsFrame::kRoot + std::string(path);
}

// The choices of the kinds that have a few values: each value's word, in the order of the values.
std::vector<std::pair<std::string, Word>> choices(SettingKind kind) {
  switch (kind) {
    case SettingKind::ForegroundType:
      return {{"1", Word::PrefSolid}, {"2", Word::PrefGradientKind}};
    case SettingKind::BackgroundType:
      return {{"0", Word::PrefNone}, {"1", Word::PrefSolid}, {"2", Word::PrefGradientKind}};
    case SettingKind::GradientPreset:
      return {{"1", Word::PrefPresetFirstToSecond},
              {"2", Word::PrefPresetSecondToFirst},
              {"3", Word::PrefPresetMirrored},
              {"4", Word::PrefPresetMirroredReverse}};
    default:
      return {};
  }
}

}  // namespace

SettingsFrame::SettingsFrame(Changed changed) : changed_(std::move(changed)) {
  forget();  // left by a client that stopped before it could take it out
}

SettingsFrame::~SettingsFrame() {
  forget();
}

void SettingsFrame::forget() {
  purple_prefs_disconnect_by_handle(this);
  if (purple_prefs_exists(kRoot)) purple_prefs_remove(kRoot);
}

void SettingsFrame::addTo(PurplePluginPrefFrame* frame, const Current& current, const PurpleTexts& words) {
  // Made afresh, so that it holds the plug-in's values of now.
  forget();
  purple_prefs_add_none(kRoot);
  for (std::string_view branch : {"/nickprefs", "/textprefs"}) {
    purple_prefs_add_none((kRoot + std::string(branch)).c_str());
  }

  const auto add = [&](Setting s, const std::string& label) {
    const std::string name = prefName(s);
    const std::string value = current(s);
    PurplePluginPref* pref = purple_plugin_pref_new_with_name_and_label(name.c_str(), label.c_str());
    const SettingKind kind = store::settingKind(s);
    if (kind == SettingKind::Flag) {
      purple_prefs_add_bool(name.c_str(), value == "1");
    } else {
      purple_prefs_add_string(name.c_str(), value.c_str());
    }
    if (kind == SettingKind::Language) {
      purple_plugin_pref_set_type(pref, PURPLE_PLUGIN_PREF_CHOICE);
      for (const lang::Language& language : lang::kLanguages) {
        purple_plugin_pref_add_choice(pref, kept(std::string(language.nativeName)),
                                      const_cast<char*>(kept(std::string(language.code))));
      }
    } else if (const auto values = choices(kind); !values.empty()) {
      purple_plugin_pref_set_type(pref, PURPLE_PLUGIN_PREF_CHOICE);
      for (const auto& [text, word] : values) {
        purple_plugin_pref_add_choice(pref, kept(words(word)), const_cast<char*>(kept(text)));
      }
    }
    purple_plugin_pref_frame_add(frame, pref);
    purple_prefs_connect_callback(this, name.c_str(), onChanged, this);
  };
  const auto heading = [&](const std::string& label) {
    purple_plugin_pref_frame_add(frame, purple_plugin_pref_new_with_label(label.c_str()));
  };

  for (const Style& style : kStyles) {
    heading(words(style.heading));
    add(style.enabled, words(Word::PrefColourAutomatically));
    for (const Side& side : {style.characters, style.background}) {
      const std::string sideName = words(side.name);
      add(side.type, sideName);
      add(side.colour, words(Word::PrefColour, sideName));
      add(side.gradient, words(Word::PrefGradient, sideName));
      add(side.first, words(Word::PrefGradientFirst, sideName));
      add(side.second, words(Word::PrefGradientSecond, sideName));
    }
  }
  heading(words(Word::PrefLanguage));
  add(Setting::Language, words(Word::PrefLanguage));
}

void SettingsFrame::onChanged(const char* name, PurplePrefType type, gconstpointer value, gpointer data) {
  auto* self = static_cast<SettingsFrame*>(data);
  const std::string_view path = std::string_view(name).substr(std::string_view(kRoot).size());
  const std::optional<Setting> setting = store::findSetting(path.starts_with('/') ? path.substr(1) : path);
  if (!setting) return;
  if (type == PURPLE_PREF_BOOLEAN) {
    self->changed_(*setting, GPOINTER_TO_INT(value) ? "1" : "0");
  } else if (type == PURPLE_PREF_STRING && value) {
    self->changed_(*setting, static_cast<const char*>(value));
  }
}

}  // namespace tessalune::purple
