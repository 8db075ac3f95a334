#include "cli_session.h"

#include <iostream>

#include "platform/ui_language.h"

namespace tessalune::cli {

CliSession::CliSession(std::optional<bool> answer)
    : dialogs_(std::cerr, answer), messages_(lang::MessageCatalogue(platform::uiLanguage())) {
  messages_.loadMessages();
}

engine::ConversionContext CliSession::conversion(engine::EditorMode mode, bool noEnd) {
  return engine::ConversionContext{mode, noEnd, dialogs_, messages_, failures_, lifecycle_, scratch};
}

}  // namespace tessalune::cli
