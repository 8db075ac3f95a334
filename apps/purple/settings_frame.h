#pragma once

#include <purple.h>

#include <functional>
#include <set>
#include <string>

#include "purple_texts.h"
#include "store/setting_elements.h"

namespace tessalune::purple {

// The settings a person needs to use Tessalune without its windows (Finch, a client without
// a display), as entries of the client's preference frame for the plug-in: automatic
// colouring of nicknames and of messages, their styles, the language.
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
  static void onChanged(const char* name, PurplePrefType type, gconstpointer value, gpointer frame);
  // A text that lives as long as this: the frame keeps its choices' labels and values by
  // pointer.
  const char* kept(std::string text) { return keptTexts_.insert(std::move(text)).first->c_str(); }

  Changed changed_;
  std::set<std::string> keptTexts_;
};

}  // namespace tessalune::purple
