#include "plugin/settings_session.h"

#include <cstdlib>
#include <iostream>
#include <utility>

#include "platform/ui_language.h"
#include "store/config_file.h"

namespace tessalune::plugin {

SettingsSession::SettingsSession(std::filesystem::path pluginDir, std::optional<bool> answer,
                                 Failures failures)
    : pluginDir_(std::move(pluginDir)),
      dialogs_(std::cerr, answer),
      messages_(lang::MessageCatalogue(platform::uiLanguage())),
      pluginReport_(dialogs_, messages_, *this),
      report_(failures == Failures::Tool ? static_cast<errors::ErrorReport&>(toolReport_) : pluginReport_),
      store_{pluginDir_, dialogs_, messages_, failures_, configLock_},
      translation_(pluginDir_, messages_, dialogs_) {
  messages_.loadMessages();
  makeWindows();
}

void SettingsSession::makeWindows() {
  // No editor here: it stays in nickname mode, whose captions the list holds.
  ui::PrefsDependencies prefs{store_, translation_, captions_, {}, editorNoEnd_, editorAll_, *this, [] {}};
  prefs_ = std::make_unique<ui::PrefsWindow>(prefs);
  ui::QuickNickDependencies quickNicks{store_,
                                       quickNickState_,
                                       messenger_,
                                       [this] {
                                         return engine::ConversionContext{engine::EditorMode::Nickname,
                                                                          editorNoEnd_.checked(),
                                                                          dialogs_,
                                                                          messages_,
                                                                          failures_,
                                                                          *this,
                                                                          scratch_};
                                       },
                                       {},
                                       *this};
  quickNicks_ = std::make_unique<ui::QuickNickWindow>(quickNicks);
}

void SettingsSession::load() {
  loadConfig();
  // What the load asked for is carried out once it has returned: a configuration it
  // recreated is loaded again, a restart starts from new windows.
  if (std::exchange(reloadRequested_, false)) loadConfig();
  if (std::exchange(restartRequested_, false)) {
    makeWindows();
    loadConfig();
  }
}

void SettingsSession::request(Request what) {
  switch (what) {
    case Request::ReloadConfig:
      reloadRequested_ = true;
      break;
    case Request::StartAgain:
    case Request::Restart:
      restartRequested_ = true;
      break;
    case Request::Halt:
    case Request::HaltKeepingWindows:
      halted_ = true;
      break;
  }
}

void SettingsSession::loadConfig() {
  store::ConfigTargets targets = ui::configTargets(*prefs_, *quickNicks_);
  store::loadConfig(targets, store_);
}

void SettingsSession::writeDefaultConfiguration() {
  store::writeDefaultConfiguration(store_, platform::uiLanguage());
}

}  // namespace tessalune::plugin
