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
      toolFailuresKept_(failures == Failures::Tool),
      report_(toolFailuresKept_ ? errors::KeptReport() : errors::KeptReport(pluginReport_)),
      store_{pluginDir_, dialogs_, messages_, failures_, configLock_} {
  messages_.loadMessages();
}

std::vector<std::string> SettingsSession::toolFailures() const {
  std::vector<std::string> causes;
  if (!toolFailuresKept_) return causes;
  for (const errors::KeptReport::Entry& failure : report_.entries()) {
    std::string cause = failure.description;
    if (failure.kind != errors::ErrorKind::Unknown && failure.line > 0) {
      cause += " (line " + std::to_string(failure.line) + ")";
    }
    causes.push_back(std::move(cause));
  }
  return causes;
}

void SettingsSession::load() {
  loadConfig();
  // What the load asked for is carried out once it has returned: a configuration it
  // recreated is loaded again, a restart starts from a fresh plug-in's settings.
  if (std::exchange(reloadRequested_, false)) loadConfig();
  if (std::exchange(restartRequested_, false)) {
    settings_ = {};
    quickNickState_ = {};
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
  store::ConfigTargets targets{settings_, quickNickState_};
  store::loadConfig(targets, store_);
}

void SettingsSession::writeDefaultConfiguration() {
  store::writeDefaultConfiguration(store_, platform::uiLanguage());
}

}  // namespace tessalune::plugin
