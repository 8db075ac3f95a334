#pragma once

#include <QString>

namespace tessalune::desktop {

// The host's own words (the plug-in's come from its message tables and language files).
enum class HostText {
  Menu,
  LoadAgain,
  Quit,
  Placeholder,
  QuickStyle,
  TextToColour,
  AddColour,
  RemoveColour,
  Linear,
  Mirrored,
  Rainbow,
  TextColour,
  Background,
  NicknameLimit,
  MessageLimit,
  UseAsNickname,
  Send,
  TextLabel,
  ColoursLabel,
  StyleLabel,
  OkWouldAsk,
  OkWouldSay,
  StoppedAtWatchdog,
  NicknameNow,
  Sent,
  Halted,
  Gradient,
  White,
  Black,
  Silver,
  Gray,
  Red,
  Maroon,
  Yellow,
  Olive,
  Lime,
  Green,
  Aqua,
  Teal,
  Blue,
  Navy,
  Fuchsia,
  Purple,
  Count
};

// The host's words in the language the plug-in speaks: a position in the plug-in's language
// list (French, English, Dutch, Spanish, Catalan, Italian); English for any other.
class HostTexts {
 public:
  void setLanguage(int languageIndex) { language_ = languageIndex; }
  int language() const { return language_; }
  // The text, its "%1" replaced by argument when given.
  QString operator()(HostText text, const QString& argument = {}) const;
  // The name of one of the palette's sixteen colours ("#RRGGBB"), or the code itself.
  QString colourName(const QString& code) const;

 private:
  int language_ = 1;
};

}  // namespace tessalune::desktop
