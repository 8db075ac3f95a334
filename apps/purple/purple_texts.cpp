#include "purple_texts.h"

#include "plugin/command_table.h"

namespace tessalune::purple {

void PurpleTexts::follow(std::optional<lang::LanguageId> pluginLanguage) {
  words_.follow(pluginLanguage);
}

std::string PurpleTexts::nicknameNow() const {
  std::string phrase = words_(PurpleText::NicknameNow);
  if (!phrase.empty() && phrase.front() >= 'A' && phrase.front() <= 'Z') phrase.front() += 'a' - 'A';
  return phrase + ' ';
}

std::string PurpleTexts::description() const {
  std::string words;
  for (std::string_view word : plugin::kCommandWords) {
    if (!words.empty()) words += ", ";
    words += "/" + std::string(word);
  }
  return words_(PurpleText::PluginDescription, words);
}

}  // namespace tessalune::purple
