#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "errors/kept_report.h"
#include "errors/lifecycle.h"
#include "errors/plugin_error_report.h"
#include "lang/message_variables.h"
#include "platform/terminal_dialogs.h"
#include "plugin/plugin_folder.h"
#include "plugin/requests.h"
#include "store/quicknick_state.h"
#include "store/settings.h"
#include "store/store_context.h"

namespace tessalune::plugin {

// The settings of a plug-in folder as a load leaves them in the running plug-in, without
// its windows: the value and the QuickNick count. Used by the terminal's configuration
// commands.
class SettingsSession : private errors::Lifecycle, private RequestTarget {
 public:
  // How failures are told: as the plug-in tells them (its boxes, restart and halt), or as a
  // command-line tool does, kept for the tool to print as one line each.
  enum class Failures { Plugin, Tool };

  SettingsSession(std::filesystem::path pluginDir, std::optional<bool> answer,
                  Failures failures = Failures::Plugin);

  // Loads the configuration file (recreating a missing one), then carries out what the
  // load asked for, as the plug-in does when control is back at its entry point.
  void load();

  const store::Settings& settings() const { return settings_; }
  const store::QuickNickState& quickNicks() const { return quickNickState_; }
  store::StoreContext& store() { return store_; }
  platform::TerminalDialogs& dialogs() { return dialogs_; }
  bool halted() const { return halted_; }
  bool failed() const { return report_.failures() > 0 || halted_; }
  // The causes of the failures a tool session met, in order: the parser's or the routine's
  // own words, with the parser's line; a failed load last.
  std::vector<std::string> toolFailures() const;

 private:
  bool request(Request what) noexcept override { return requests_.record(what); }
  bool stopping() const override { return halted_ || requests_.stopping(); }
  void halt(bool) override { halted_ = true; }
  // A restart starts again from a fresh plug-in's settings.
  void startAgain() override;
  void reloadConfig() override { loadConfig(); }
  void startFailed(std::int32_t number, std::string_view description) noexcept override;
  // The session's start-up: the load, its failures trapped as the plug-in's start-up's are.
  void startUp();
  void loadConfig();

  std::filesystem::path pluginDir_;
  platform::TerminalDialogs dialogs_;
  lang::MessageVariables messages_;
  errors::PluginErrorReport pluginReport_;
  bool toolFailuresKept_;
  // A tool's failures are kept and show no box; the plug-in's go on to its report.
  errors::KeptReport report_;
  errors::StepMarker step_;
  errors::FailureContext failures_{report_, step_};
  store::ConfigLock configLock_;
  store::StoreContext store_;
  store::Settings settings_;
  store::QuickNickState quickNickState_;
  Requests requests_;
  bool halted_ = false;
  std::string startFailure_;  // why the load failed, kept for a tool
};

}  // namespace tessalune::plugin
