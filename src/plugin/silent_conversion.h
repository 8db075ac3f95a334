#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_context.h"
#include "engine/side_style.h"
#include "errors/kept_report.h"
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
    bool keepWhenThinned = true;             // the answer to "keep the text with fewer colours?"
    bool stopAtWatchdog = false;             // stop where the watchdog would ask, instead of going on
    const engine::LengthFit* fit = nullptr;  // fitted to another target's limit, when set
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
    explicit Dialogs(const errors::KeptReport& report) : report_(report) {}
    platform::Answer messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                                platform::Buttons buttons) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }
    std::string chooseFile(const platform::FileDialogRequest&) override { return {}; }

    Options options;
    std::string message;
    std::string question;
    bool watchdogAsked = false;

   private:
    const errors::KeptReport& report_;
  };
  engine::ConversionContext context();
  void clear();
  // A failure met before any box was shown is the conversion's message.
  void keepFirstFailure();

  const errors::MessageTexts& messages_;
  Options options_;
  errors::KeptReport report_;
  Dialogs dialogs_{report_};
  errors::StepMarker step_;
  errors::FailureContext failures_{report_, step_};
  errors::NoLifecycle lifecycle_;
  engine::RichTextBox scratch_, work_;
};

}  // namespace tessalune::plugin
