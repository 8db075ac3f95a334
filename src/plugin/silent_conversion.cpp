#include "plugin/silent_conversion.h"

#include "engine/rtf2xml.h"
#include "errors/titles.h"

namespace tessalune::plugin {

platform::Answer SilentConversion::Dialogs::messageBox(std::string_view text, std::string_view title,
                                                       platform::Icon, platform::Buttons buttons) {
  if (buttons == platform::Buttons::Ok) {
    if (message.empty() && report_.entries().empty()) message = text;
    return platform::Answer::Ok;
  }
  if (title == errors::kAntiCrashTitle) {
    watchdogAsked = true;
    return options.stopAtWatchdog ? platform::Answer::No : platform::Answer::Yes;
  }
  question = text;
  return options.keepWhenThinned ? platform::Answer::Yes : platform::Answer::No;
}

void SilentConversion::keepFirstFailure() {
  if (!dialogs_.message.empty() || report_.entries().empty()) return;
  const errors::KeptReport::Entry& failure = report_.entries().front();
  dialogs_.message = std::string(errors::errorKindName(failure.kind)) + " failure in " + failure.source +
                     " (" + std::to_string(failure.number) + "): " + failure.description;
}

SilentConversion::SilentConversion(const errors::MessageTexts& messages, Options options)
    : messages_(messages), options_(options) {
  dialogs_.options = options;
}

engine::ConversionContext SilentConversion::context() {
  clear();
  engine::ConversionContext ctx{options_.mode, options_.noEnd, dialogs_, messages_,
                                failures_,     lifecycle_,     scratch_};
  ctx.fit = options_.fit;
  return ctx;
}

void SilentConversion::clear() {
  report_.clear();
  dialogs_.message.clear();
  dialogs_.question.clear();
  dialogs_.watchdogAsked = false;
}

std::string SilentConversion::colour(std::string_view text, const engine::SideStyle& foreground,
                                     const engine::SideStyle& background,
                                     const engine::WholeTextFormats& formats) {
  engine::ConversionContext ctx = context();
  std::string coded = engine::colourWithStyles(text, foreground, background, work_, ctx, formats);
  keepFirstFailure();
  return coded;
}

std::string SilentConversion::convert(const engine::RichTextBox& box, bool backgrounds) {
  engine::ConversionContext ctx = context();
  work_.copyTextRtfFrom(box);
  std::string coded = engine::rtf2plus(work_, backgrounds ? 1 : 0, ctx);
  keepFirstFailure();
  return coded;
}

}  // namespace tessalune::plugin
