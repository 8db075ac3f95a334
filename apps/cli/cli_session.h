#pragma once

#include <optional>

#include "engine/conversion_context.h"
#include "errors/kept_report.h"
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
  bool request(Request what) noexcept override {
    if (what == Request::Halt || what == Request::HaltKeepingWindows) halted_ = true;
    return true;
  }
  bool stopping() const override { return halted_; }
  bool halted() const { return halted_; }

 private:
  bool halted_ = false;
};

// What an engine tool runs with: message boxes on standard error, the catalogue of the
// interface language, the plug-in's error report, and the two hidden boxes.
class CliSession {
 public:
  explicit CliSession(std::optional<bool> answer);

  engine::ConversionContext conversion(engine::EditorMode mode, bool noEnd);
  errors::FailureContext& failures() { return failures_; }
  bool failed() const { return report_.failures() > 0 || lifecycle_.halted(); }

  engine::RichTextBox autoBox{"rtf_auto"};
  engine::RichTextBox scratch{"rtf_mask"};

 private:
  platform::TerminalDialogs dialogs_;
  lang::MessageVariables messages_;
  ToolLifecycle lifecycle_;
  errors::PluginErrorReport pluginReport_{dialogs_, messages_, lifecycle_};
  errors::KeptReport report_{pluginReport_};
  errors::StepMarker step_;
  errors::FailureContext failures_{report_, step_};
};

}  // namespace tessalune::cli
