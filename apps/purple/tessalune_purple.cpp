// Tessalune as a libpurple plug-in: the entry points the client looks for, its preferences,
// and the host object that lives from load to unload.
#define PURPLE_PLUGINS
#include <dlfcn.h>
#include <purple.h>

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "plugin/command_table.h"
#include "purple_host.h"
#include "update/plugin_version.h"
#ifdef TESSALUNE_PURPLE_WINDOWS
#include "qt_front.h"
#endif

namespace {

using tessalune::purple::PurpleHost;

// The client closes a plug-in's library when it unloads it, and Qt's libraries, once loaded
// for its windows, cannot go: the plug-in's library stays in the process.
void stayLoaded() {
  Dl_info self;
  if (dladdr(reinterpret_cast<void*>(&stayLoaded), &self) && self.dli_fname) {
    dlopen(self.dli_fname, RTLD_NOW | RTLD_NODELETE);
  }
}

gboolean load(PurplePlugin* plugin) {
  stayLoaded();
  try {
#ifdef TESSALUNE_PURPLE_WINDOWS
    plugin->extra = new PurpleHost(plugin, tessalune::purple::QtFront::create);
#else
    plugin->extra = new PurpleHost(plugin);
#endif
    return TRUE;
  } catch (const std::exception& e) {
    purple_notify_error(plugin, "Tessalune", "Tessalune could not start.", e.what());
    return FALSE;
  }
}

gboolean unload(PurplePlugin* plugin) {
  if (plugin->extra) PurpleHost::unload(static_cast<PurpleHost*>(plugin->extra));
  plugin->extra = nullptr;
  return TRUE;
}

PurplePluginPrefFrame* preferencesFrame(PurplePlugin* plugin) {
  PurplePluginPrefFrame* frame = purple_plugin_pref_frame_new();
  if (plugin->extra) static_cast<PurpleHost*>(plugin->extra)->fillPreferences(frame);
  return frame;
}

// Pidgin's page: its own drawing of the frame, and a button that opens the preferences window.
void* pidginConfigFrame(PurplePlugin* plugin) {
  return plugin->extra ? static_cast<PurpleHost*>(plugin->extra)->pidginPage() : nullptr;
}

tessalune::purple::PidginPageInfo pidginPageInfo = {pidginConfigFrame, 0, {}};

using tessalune::plugin::kCommandWords;

// The description names every command word once, in the order of the command table.
constexpr std::string_view kDescriptionStart = "Adds Tessalune's commands to every conversation (";
constexpr std::string_view kDescriptionEnd = ") and shows the Plus! codes of messages in colour.";

// Each word with its slash, and ", " between two words.
constexpr std::size_t descriptionLength() {
  std::size_t length = kDescriptionStart.size() + kDescriptionEnd.size() + 2 * (kCommandWords.size() - 1);
  for (std::string_view word : kCommandWords) length += 1 + word.size();
  return length;
}

constexpr auto describe() {
  std::array<char, descriptionLength() + 1> text{};  // ends with a NUL
  char* out = text.data();
  const auto put = [&out](std::string_view part) { out = std::ranges::copy(part, out).out; };
  put(kDescriptionStart);
  for (std::string_view word : kCommandWords) {
    if (word != kCommandWords.front()) put(", ");
    put("/");
    put(word);
  }
  put(kDescriptionEnd);
  return text;
}

constexpr auto kDescription = describe();

PurplePluginUiInfo preferencesInfo = {preferencesFrame, 0, nullptr, nullptr, nullptr, nullptr, nullptr};

PurplePluginInfo info = {
    PURPLE_PLUGIN_MAGIC,
    PURPLE_MAJOR_VERSION,
    PURPLE_MINOR_VERSION,
    PURPLE_PLUGIN_STANDARD,
    nullptr,
    0,
    nullptr,
    PURPLE_PRIORITY_DEFAULT,
    const_cast<char*>("core-tessalune"),
    const_cast<char*>("Tessalune"),
    const_cast<char*>(tessalune::update::kVersionText),
    const_cast<char*>("Colours nicknames and messages with Plus! codes."),
    const_cast<char*>(kDescription.data()),
    const_cast<char*>("The Tessalune developers"),
    const_cast<char*>("https://tessalune.org/"),
    load,
    unload,
    nullptr,
    nullptr,
    nullptr,
    &preferencesInfo,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

void initPlugin(PurplePlugin*) {
  purple_prefs_add_none(tessalune::purple::kPrefsRoot);
  purple_prefs_add_bool(tessalune::purple::kRenderPref, TRUE);
  purple_prefs_add_string(tessalune::purple::kAnswerPref, "yes");
  // Pidgin shows a page of the plug-in's own.
  if (tessalune::purple::PidginPage::available()) {
    info.ui_requirement = const_cast<char*>(tessalune::purple::kPidginUi);
    info.ui_info = &pidginPageInfo;
  }
}

}  // namespace

extern "C" {
PURPLE_INIT_PLUGIN(tessalune, initPlugin, info)
}
