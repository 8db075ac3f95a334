// A conversion for the fuzz targets: every question answered yes (and every box kept), messages empty, and
// any failure report or halt stops the run, since the conversions must never come to either.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_context.h"
#include "errors/error_report.h"
#include "errors/lifecycle.h"
#include "errors/message_texts.h"
#include "platform/scripted_dialogs.h"

namespace tessalune::fuzz {

class NoMessages : public errors::MessageTexts {
 public:
  std::string message(int) const override { return {}; }
};

class FailOnReport : public errors::ErrorReport {
 public:
  void reportError(errors::ErrorKind kind, std::string_view source, std::int32_t number,
                   std::string_view description, std::int16_t, std::string_view) override {
    const std::string_view name = errors::errorKindName(kind);
    std::fprintf(stderr, "%.*s failure in %.*s (%d): %.*s\n", static_cast<int>(name.size()), name.data(),
                 static_cast<int>(source.size()), source.data(), number, static_cast<int>(description.size()),
                 description.data());
    std::abort();
  }
};

class FailOnHalt : public errors::Lifecycle {
 public:
  bool request(Request what) noexcept override {
    if (what != Request::Halt && what != Request::HaltKeepingWindows) return true;
    std::fprintf(stderr, "the conversion halted the plug-in\n");
    std::abort();
  }
  bool stopping() const override { return false; }
};

// Everything a conversion context refers to, kept together.
struct Conversion {
  platform::ScriptedDialogs dialogs;
  NoMessages messages;
  FailOnReport report;
  errors::StepMarker step;
  errors::FailureContext failures{report, step};
  FailOnHalt lifecycle;
  engine::RichTextBox autoBox, scratch;

  engine::ConversionContext context(engine::EditorMode mode, bool noEnd) {
    return engine::ConversionContext{mode, noEnd, dialogs, messages, failures, lifecycle, scratch};
  }
};

}  // namespace tessalune::fuzz
