#include "lang/host_words.h"

#include "errors/titles.h"

namespace tessalune::lang {

HostWords::HostWords()
    : language_(LanguageId::fallback()), catalogue_(LanguageId::fallback().catalogueId()) {}

bool HostWords::follow(std::optional<LanguageId> pluginLanguage) {
  if (!pluginLanguage || *pluginLanguage == language_) return false;
  language_ = *pluginLanguage;
  catalogue_ = MessageCatalogue(language_.catalogueId());
  return true;
}

std::string HostWords::operator()(HostWord word, std::string_view argument) const {
  return errors::withValue(text(word), argument);
}

}  // namespace tessalune::lang
