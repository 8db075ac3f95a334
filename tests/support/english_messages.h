#pragma once

#include "lang/message_variables.h"
#include "platform/ui_language.h"

namespace tessalune::testing {

// The English messages, loaded as a running plug-in on an English desktop loads them.
class EnglishMessages : public lang::MessageVariables {
 public:
  EnglishMessages() : MessageVariables(lang::MessageCatalogue(platform::language::kEnglish)) {
    loadMessages();
  }
};

}  // namespace tessalune::testing
