#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lang/host_words.h"

namespace tessalune::purple {

// The chat plug-in's own words (its notices in the conversation) are catalogue messages;
// "%1" stands for the argument.
using PurpleText = lang::HostWord;

// The chat plug-in's words in the language the plug-in speaks.
class PurpleTexts {
 public:
  // Takes the plug-in's language, when it names one (lang::HostWords has the rule).
  void follow(std::optional<lang::LanguageId> pluginLanguage);
  lang::LanguageId language() const { return words_.language(); }

  std::string operator()(PurpleText text, std::string_view argument = {}) const {
    return words_(text, argument);
  }
  // What comes before a new nickname, after "Tessalune: ": in lower case, a space before the
  // nickname.
  std::string nicknameNow() const;
  // The plug-in's description in the client's plug-in list: every command word once, in
  // the order of the command table.
  std::string description() const;

 private:
  lang::HostWords words_;
};

}  // namespace tessalune::purple
