#include "plugin/settings_session.h"

#include <cstdlib>
#include <iostream>
#include <utility>

#include "errors/failure.h"
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
      store_{pluginDir_,
             dialogs_,
             messages_,
             failures_,
             configLock_,
             platform::systemFileSystem(),
             toolFailuresKept_ ? std::nullopt : std::optional<int>(platform::uiLanguage())} {
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
  if (!startFailure_.empty()) causes.push_back(startFailure_);
  return causes;
}

void SettingsSession::load() {
  requests_.entryBegins();
  startUp();
  carryOut(requests_, *this);
}

void SettingsSession::startUp() {
  requests_.startUpBegins();
  try {
    loadConfig();
    requests_.startUpEnds();
  } catch (const errors::RuntimeFailure& f) {
    startFailed(f.number(), f.what());
  } catch (const std::exception& f) {
    startFailed(errors::failure::kInvalidCall, f.what());
  }
}

void SettingsSession::startAgain() {
  settings_ = {};
  quickNickState_ = {};
  startUp();
}

// A tool keeps the cause; the plug-in's way shows the start-up's failure.
void SettingsSession::startFailed(std::int32_t number, std::string_view description) noexcept {
  requests_.startUpEnds();
  requests_.dropAll();
  halted_ = true;
  try {
    if (toolFailuresKept_) {
      startFailure_ = description;
    } else {
      dialogs_.message(startUpFailure(number, "initPlugin", description), platform::Icon::Critical);
    }
  } catch (...) {
    // Halted all the same.
  }
}

void SettingsSession::loadConfig() {
  store::ConfigTargets targets{settings_, quickNickState_};
  loadConfiguration(requests_, [&] { store::loadConfig(targets, store_); });
}

}  // namespace tessalune::plugin
