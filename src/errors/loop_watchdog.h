#pragma once

#include <cstdint>

#include "errors/message_texts.h"
#include "platform/dialogs.h"

namespace tessalune::errors {

// Lets the user stop a loop that runs far longer than it should. Passes are counted from
// 1; once the count passes the threshold (500 passes for a nickname, 1000 for a message)
// the user is asked whether to wait 100 passes more. Both numbers are 16 bits wide: a
// count past 32767 is itself a failure.
class LoopWatchdog {
 public:
  LoopWatchdog(int editorMode, platform::Dialogs& dialogs, const MessageTexts& messages);

  // Made in every pass that still has work to do, before that work: true to go on,
  // false to leave the loop at once (the user answered No, and was told so).
  bool mayGoOn();

  // Made at the end of every pass.
  void endPass();

  std::int16_t counter() const { return counter_; }
  std::int16_t threshold() const { return threshold_; }

 private:
  platform::Dialogs& dialogs_;
  const MessageTexts& messages_;
  std::int16_t counter_ = 1;
  std::int16_t threshold_;
};

}  // namespace tessalune::errors
