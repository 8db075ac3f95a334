#include "plugin/silent_conversion.h"

#include "engine/rtf2xml.h"
#include "errors/titles.h"

namespace tessalune::plugin {

platform::Answer SilentConversion::Dialogs::messageBox(std::string_view text, std::string_view title,
                                                       platform::Icon, platform::Buttons buttons) {
  if (buttons == platform::Buttons::Ok) {
    if (message.empty()) message = text;
    return platform::Answer::Ok;
  }
  if (title == errors::kAntiCrashTitle) {
    watchdogAsked = true;
    return options.stopAtWatchdog ? platform::Answer::No : platform::Answer::Yes;
  }
  question = text;
  return options.keepWhenThinned ? platform::Answer::Yes : platform::Answer::No;
}

void SilentConversion::Report::reportError(std::string_view kind, std::string_view source,
                                           std::int32_t number, std::string_view description, std::int16_t,
                                           std::string_view) {
  if (!dialogs_.message.empty()) return;
  dialogs_.message = std::string(kind) + " failure in " + std::string(source) + " (" +
                     std::to_string(number) + "): " + std::string(description);
}

SilentConversion::SilentConversion(const errors::MessageTexts& messages, Options options)
    : messages_(messages), options_(options) {
  dialogs_.options = options;
}

engine::ConversionContext SilentConversion::context() {
  clear();
  return engine::ConversionContext{options_.mode, options_.noEnd, dialogs_, messages_,
                                   failures_,     lifecycle_,     scratch_};
}

void SilentConversion::clear() {
  dialogs_.message.clear();
  dialogs_.question.clear();
  dialogs_.watchdogAsked = false;
}

std::string SilentConversion::colour(std::string_view text, const engine::SideStyle& foreground,
                                     const engine::SideStyle& background,
                                     const engine::WholeTextFormats& formats) {
  engine::ConversionContext ctx = context();
  return engine::colourWithStyles(text, foreground, background, work_, ctx, formats);
}

std::string SilentConversion::convert(const engine::RichTextBox& box, bool backgrounds) {
  engine::ConversionContext ctx = context();
  work_.copyTextRtfFrom(box);
  return engine::rtf2plus(work_, backgrounds ? 1 : 0, ctx);
}

}  // namespace tessalune::plugin
