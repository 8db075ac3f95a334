#include "settings_frame.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "lang/languages.h"

namespace tessalune::purple {

namespace {

using store::Setting;
using store::SettingKind;
using Word = PurpleText;

// A style, nicknames' or messages', as the frame shows it: whether it colours
// automatically, how its characters are painted (a solid colour or one of the gradients) and
// their colours (one for a solid colour, two for a gradient). Its background is left to the
// configuration file: with it the frame would not fit a terminal of 24 rows.
struct Style {
  Word name;
  const char* branch;
  Setting enabled, type, colour, gradient, first, second;
};

constexpr std::array<Style, 2> kStyles{{
    {Word::PrefNicknames, "/nickprefs", Setting::NickEnabled, Setting::NickFGType, Setting::NickFGColour,
     Setting::NickFGGradient, Setting::NickFGGradient1, Setting::NickFGGradient2},
    {Word::PrefMessages, "/textprefs", Setting::TextEnabled, Setting::TextFGType, Setting::TextFGColour,
     Setting::TextFGGradient, Setting::TextFGGradient1, Setting::TextFGGradient2},
}};

constexpr std::string_view kGradientType = "2";

// The entry's name in the client's preferences: the element's path below the branch.
std::string prefName(Setting s) {
  std::string_view path = store::settingPath(s);
  path.remove_prefix(std::string_view("/config").size());
  return SettingsFrame::kRoot + std::string(path);
}

// How characters can be painted: solid, or a gradient with its preset ("2/3"), each with
// its word.
constexpr std::array<std::pair<std::string_view, Word>, 5> kPaintings{{
    {"1", Word::PrefSolid},
    {"2/1", Word::PrefPresetFirstToSecond},
    {"2/2", Word::PrefPresetSecondToFirst},
    {"2/3", Word::PrefPresetMirrored},
    {"2/4", Word::PrefPresetMirroredReverse},
}};

// The colours as written in the entry, split at spaces and commas.
std::vector<std::string> colourWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : std::string(text) + ' ') {
    if (c == ' ' || c == ',') {
      if (!word.empty()) words.push_back(std::exchange(word, {}));
    } else {
      word += c;
    }
  }
  return words;
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
  handlers_.clear();
  if (purple_prefs_exists(kRoot)) purple_prefs_remove(kRoot);
}

void SettingsFrame::addTo(PurplePluginPrefFrame* frame, const Current& current, const PurpleTexts& words) {
  // Made afresh, so that it holds the plug-in's values of now.
  forget();
  purple_prefs_add_none(kRoot);
  for (const Style& style : kStyles) purple_prefs_add_none((kRoot + std::string(style.branch)).c_str());

  // An entry: its name, label, value and choices (value, label), and what a change hands on.
  const auto add = [&](const std::string& name, const std::string& label, const std::string& value,
                       const std::vector<std::pair<std::string, std::string>>& choices, Handler handler) {
    PurplePluginPref* pref = purple_plugin_pref_new_with_name_and_label(name.c_str(), label.c_str());
    if (handler.flag) {
      purple_prefs_add_bool(name.c_str(), value == "1");
    } else {
      purple_prefs_add_string(name.c_str(), value.c_str());
    }
    if (!choices.empty()) {
      purple_plugin_pref_set_type(pref, PURPLE_PLUGIN_PREF_CHOICE);
      for (const auto& [choice, choiceLabel] : choices) {
        purple_plugin_pref_add_choice(pref, kept(choiceLabel), const_cast<char*>(kept(choice)));
      }
    }
    purple_plugin_pref_frame_add(frame, pref);
    handlers_[name] = std::move(handler);
    purple_prefs_connect_callback(this, name.c_str(), onChanged, this);
  };
  const auto one = [this](Setting s) {
    return Handler{[this, s](const std::string& text) { changed_(s, text); },
                   store::settingKind(s) == SettingKind::Flag};
  };

  std::vector<std::pair<std::string, std::string>> languages;
  for (const lang::Language& language : lang::kLanguages) {
    languages.emplace_back(std::string(language.code), std::string(language.nativeName));
  }
  add(prefName(Setting::Language), words(Word::PrefLanguage), current(Setting::Language), languages,
      one(Setting::Language));
  std::vector<std::pair<std::string, std::string>> paintings;
  for (const auto& [value, word] : kPaintings) paintings.emplace_back(value, words(word));
  for (const Style& style : kStyles) {
    const std::string name = words(style.name);
    const std::string entry = kRoot + std::string(style.branch) + "/FG";
    const bool gradient = current(style.type) == kGradientType;
    add(prefName(style.enabled), words(Word::PrefColourAutomatically, name), current(style.enabled), {},
        one(style.enabled));
    add(entry + "painting", name,
        gradient ? std::string(kGradientType) + "/" + current(style.gradient) : current(style.type),
        paintings, {[this, style](const std::string& text) {
          const std::size_t slash = text.find('/');
          changed_(style.type, text.substr(0, slash));
          if (slash != std::string::npos) changed_(style.gradient, text.substr(slash + 1));
        }});
    // One colour is the solid colour, two are the gradient's; anything else is refused as the
    // solid colour would refuse it.
    add(entry + "colours", words(Word::PrefColours, name),
        gradient ? current(style.first) + " " + current(style.second) : current(style.colour), {},
        {[this, style](const std::string& text) {
          const std::vector<std::string> colours = colourWords(text);
          if (colours.size() == 2) {
            changed_(style.first, colours[0]);
            changed_(style.second, colours[1]);
          } else {
            changed_(style.colour, colours.size() == 1 ? colours[0] : text);
          }
        }});
  }
}

void SettingsFrame::onChanged(const char* name, PurplePrefType type, gconstpointer value, gpointer data) {
  auto* self = static_cast<SettingsFrame*>(data);
  const auto handler = self->handlers_.find(name);
  if (handler == self->handlers_.end()) return;
  if (type == PURPLE_PREF_BOOLEAN) {
    handler->second.changed(GPOINTER_TO_INT(value) ? "1" : "0");
  } else if (type == PURPLE_PREF_STRING && value) {
    handler->second.changed(static_cast<const char*>(value));
  }
}

}  // namespace tessalune::purple
