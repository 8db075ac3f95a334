#include "purple_texts.h"

namespace tessalune::purple {

void PurpleTexts::follow(std::optional<lang::LanguageId> pluginLanguage) {
  words_.follow(pluginLanguage);
}

std::string PurpleTexts::nicknameNow() const {
  std::string phrase = words_(PurpleText::NicknameNow);
  if (!phrase.empty() && phrase.front() >= 'A' && phrase.front() <= 'Z') phrase.front() += 'a' - 'A';
  return phrase + ' ';
}

}  // namespace tessalune::purple
