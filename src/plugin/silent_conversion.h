#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_context.h"
#include "engine/side_style.h"
#include "errors/error_report.h"
#include "errors/lifecycle.h"
#include "platform/dialogs.h"

namespace tessalune::plugin {

// A conversion that shows nothing and changes nothing outside itself: no message box, no
// failure report, no halt, its own scratch and automatic boxes. What it would have shown is
// kept instead: the refusal or notice, the question it asks when colours had to be thinned
// (answered as told), and whether the loop watchdog would have asked to go on.
class SilentConversion {
 public:
  struct Options {
    engine::EditorMode mode = engine::EditorMode::Nickname;
    bool noEnd = false;
    bool keepWhenThinned = true;  // the answer to "keep the text with fewer colours?"
    bool stopAtWatchdog = false;  // stop where the watchdog would ask, instead of going on
  };

  SilentConversion(const errors::MessageTexts& messages, Options options);

  // Colours text directly with a style for each side, as a command with an argument does.
  std::string colour(std::string_view text, const engine::SideStyle& foreground,
                     const engine::SideStyle& background, const engine::WholeTextFormats& formats = {});
  // Converts a copy of box, backgrounds included or not, as the editor's OK does.
  std::string convert(const engine::RichTextBox& box, bool backgrounds);

  // Of the last conversion: the message it would have shown (a refusal, a notice, a
  // failure), the question it would have asked, whether the watchdog would have asked.
  const std::string& message() const { return dialogs_.message; }
  const std::string& question() const { return dialogs_.question; }
  bool watchdogAsked() const { return dialogs_.watchdogAsked; }

 private:
  class Dialogs : public platform::Dialogs {
   public:
    platform::Answer messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                                platform::Buttons buttons) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }
    std::string chooseFile(const platform::FileDialogRequest&) override { return {}; }

    Options options;
    std::string message;
    std::string question;
    bool watchdogAsked = false;
  };
  class Report : public errors::ErrorReport {
   public:
    explicit Report(Dialogs& dialogs) : dialogs_(dialogs) {}
    void reportError(std::string_view kind, std::string_view source, std::int32_t number,
                     std::string_view description, std::int16_t step, std::string_view) override;

   private:
    Dialogs& dialogs_;
  };
  engine::ConversionContext context();
  void clear();

  const errors::MessageTexts& messages_;
  Options options_;
  Dialogs dialogs_;
  Report report_{dialogs_};
  errors::StepMarker step_;
  errors::FailureContext failures_{report_, step_};
  errors::NoLifecycle lifecycle_;
  engine::RichTextBox scratch_, work_;
};

}  // namespace tessalune::plugin
