#pragma once

#include <QString>
#include <optional>

#include "lang/host_words.h"

namespace tessalune::desktop {

// The host's own words are catalogue messages (the plug-in's come from its message tables
// and language files).
using HostText = lang::HostWord;

// The host's words in the language the plug-in speaks (lang::HostWords has the rule).
class HostTexts {
 public:
  // Takes the plug-in's language, when it names one; true when the words changed language.
  bool follow(std::optional<lang::LanguageId> pluginLanguage) { return words_.follow(pluginLanguage); }
  lang::LanguageId language() const { return words_.language(); }
  // The text, its "%1" replaced by argument when given.
  QString operator()(HostText text, const QString& argument = {}) const;
  // The name of one of the palette's sixteen colours ("#RRGGBB"), or the code itself.
  QString colourName(const QString& code) const;

 private:
  lang::HostWords words_;
};

}  // namespace tessalune::desktop
