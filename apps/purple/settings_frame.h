#pragma once

#include <purple.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "purple_texts.h"
#include "store/setting_elements.h"

namespace tessalune::purple {

// The settings a person needs to use Tessalune without its windows (Finch, a client without
// a display), as entries of the client's preference frame for the plug-in: the language, and
// for nicknames and for messages the automatic colouring, how the characters are painted and
// their colours, in few enough rows that the frame fits a terminal of 24 rows.
//
// The values live in the plug-in's configuration only. When the frame opens, a branch of the
// client's preferences is made from the settings as the plug-in holds them, and watched: what
// the client saves there is handed on as a change. The branch goes again once a change was
// handed on, and when this is destroyed, so that the client's preferences file keeps none of it.
class SettingsFrame {
 public:
  using Current = std::function<std::string(store::Setting)>;
  using Changed = std::function<void(store::Setting, std::string text)>;

  explicit SettingsFrame(Changed changed);
  ~SettingsFrame();
  SettingsFrame(const SettingsFrame&) = delete;
  SettingsFrame& operator=(const SettingsFrame&) = delete;

  // Adds the entries to frame, filled from current, labelled in words' language.
  void addTo(PurplePluginPrefFrame* frame, const Current& current, const PurpleTexts& words);
  // Takes the branch out of the client's preferences.
  void forget();

  // The branch, below the plug-in's own preferences.
  static constexpr const char* kRoot = "/plugins/core/tessalune/settings";

 private:
  // What a change of an entry hands on, as the settings' texts.
  struct Handler {
    std::function<void(const std::string& text)> changed;
    bool flag = false;  // the entry is a check box
  };

  static void onChanged(const char* name, PurplePrefType type, gconstpointer value, gpointer frame);
  // A text that lives as long as this: the frame keeps its choices' labels and values by
  // pointer.
  const char* kept(std::string text) { return keptTexts_.insert(std::move(text)).first->c_str(); }

  Changed changed_;
  std::set<std::string> keptTexts_;
  std::map<std::string, Handler> handlers_;  // by the entry's name
};

}  // namespace tessalune::purple
