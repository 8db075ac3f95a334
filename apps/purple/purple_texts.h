#pragma once

#include <string>
#include <string_view>

namespace tessalune::purple {

// The chat plug-in's own words (its notices in the conversation), in the plug-in's six
// languages; "%1" stands for the argument.
enum class PurpleText {
  WindowWithoutDisplay,  // %1: the window's caption
  AnsweredYes,
  AnsweredNo,
  NicknameNow,
  NicknameNotPublished,  // %1: why
  ServerRefusedNickname,
  MessageNotSent,  // %1: why
  Halted,
  ControlCharacter,  // the reasons
  NotConnected,
  ConnectionRefused,
  NoPublicNickname,
};

// In the language at languageIndex in the plug-in's list (French, English, Dutch, Spanish,
// Catalan, Italian); English for any other index.
std::string purpleText(PurpleText text, int languageIndex, std::string_view argument = {});

}  // namespace tessalune::purple
