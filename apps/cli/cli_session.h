#pragma once

#include <optional>

#include "engine/conversion_context.h"
#include "errors/lifecycle.h"
#include "errors/plugin_error_report.h"
#include "errors/routine_guard.h"
#include "lang/message_variables.h"
#include "platform/terminal_dialogs.h"

namespace tessalune::cli {

// A stand-alone tool has no windows and no configuration: a halt only makes the tool
// fail, and there is nothing to reload.
class ToolLifecycle : public errors::Lifecycle {
 public:
  void unloadForms() override {}
  void setHalted() override { halted_ = true; }
  void initPlugin() override {}
  void writeDefaultConfiguration() override {}
  void loadConfig() override {}
  bool halted() const { return halted_; }

 private:
  bool halted_ = false;
};

// Remembers that something was reported, for the exit status.
class CountingReport : public errors::ErrorReport {
 public:
  explicit CountingReport(errors::ErrorReport& inner) : inner_(inner) {}
  void reportError(std::string_view kind, std::string_view source, std::int32_t number,
                   std::string_view description, std::int16_t line, std::string_view column) override {
    ++count_;
    inner_.reportError(kind, source, number, description, line, column);
  }
  int count() const { return count_; }

 private:
  errors::ErrorReport& inner_;
  int count_ = 0;
};

// What an engine tool runs with: message boxes on standard error, the catalogue of the
// interface language, the plug-in's error report, and the two hidden boxes.
class CliSession {
 public:
  explicit CliSession(std::optional<bool> answer);

  engine::ConversionContext conversion(int mode, bool noEnd);
  errors::FailureContext& failures() { return failures_; }
  bool failed() const { return report_.count() > 0 || lifecycle_.halted(); }

  engine::RichTextBox autoBox{"rtf_auto"};
  engine::RichTextBox scratch{"rtf_mask"};

 private:
  platform::TerminalDialogs dialogs_;
  lang::MessageVariables messages_;
  ToolLifecycle lifecycle_;
  errors::PluginErrorReport pluginReport_{dialogs_, messages_, lifecycle_};
  CountingReport report_{pluginReport_};
  errors::StepMarker step_;
  errors::FailureContext failures_{report_, step_};
};

}  // namespace tessalune::cli
