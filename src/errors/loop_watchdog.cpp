#include "errors/loop_watchdog.h"

#include <string>

#include "errors/failure.h"
#include "errors/message_ids.h"
#include "errors/titles.h"

namespace tessalune::errors {

namespace {

std::int16_t add16(std::int16_t value, int amount) {
  const int sum = value + amount;
  if (sum > INT16_MAX) raiseOverflow();
  return static_cast<std::int16_t>(sum);
}

}  // namespace

LoopWatchdog::LoopWatchdog(int editorMode, platform::Dialogs& dialogs, const MessageTexts& messages)
    : dialogs_(dialogs), messages_(messages), threshold_(editorMode == 1 ? 500 : 1000) {}

bool LoopWatchdog::mayGoOn() {
  if (counter_ <= threshold_) return true;
  const std::string question = withValue(messages_.message(msg::kTooManyLoops), std::to_string(threshold_));
  if (dialogs_.ask(question, platform::Icon::Question, kAntiCrashTitle)) {
    threshold_ = add16(threshold_, 100);
    return true;
  }
  dialogs_.message(messages_.message(msg::kLoopStopped), platform::Icon::Critical, kAntiCrashTitle);
  return false;
}

void LoopWatchdog::endPass() {
  counter_ = add16(counter_, 1);
}

}  // namespace tessalune::errors
