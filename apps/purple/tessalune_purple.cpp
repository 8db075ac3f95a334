// Tessalune as a libpurple plug-in: the entry points the client looks for, its preferences,
// and the host object that lives from load to unload.
#define PURPLE_PLUGINS
#include <dlfcn.h>
#include <purple.h>

#include <exception>
#include <string>

#include "platform/ui_language.h"
#include "purple_host.h"
#include "purple_texts.h"
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
    nullptr,  // the summary and the description, in the system's language until loaded
    nullptr,
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
  // Never freed: the client shows them for as long as it lists the plug-in.
  tessalune::purple::PurpleTexts texts;
  texts.follow(tessalune::lang::LanguageId::ofCatalogue(tessalune::platform::uiLanguage()));
  info.summary = g_strdup(texts(tessalune::purple::PurpleText::PluginSummary).c_str());
  info.description = g_strdup(texts.description().c_str());
  purple_prefs_add_none(tessalune::purple::kPrefsRoot);
  purple_prefs_add_bool(tessalune::purple::kRenderPref, TRUE);
  purple_prefs_add_bool(tessalune::purple::kAnswerPref, TRUE);
  purple_prefs_add_none(tessalune::purple::kSendAsBranch);
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
