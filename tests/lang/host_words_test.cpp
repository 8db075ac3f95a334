#include "lang/host_words.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "lang/message_variables.h"
#include "platform/embedded_resources.h"

namespace tessalune::lang {
namespace {

// The host words a message table writes out, by number (an absent one would fall back to
// English without a word).
std::set<int> hostWordsOf(const Language& language) {
  std::set<int> ids;
  const auto table = platform::embeddedResource("messages/" + std::to_string(language.catalogueId) + ".txt");
  std::string_view rest = table.value_or("");
  while (!rest.empty()) {
    const std::string_view line = rest.substr(0, rest.find('\n'));
    rest.remove_prefix(std::min(rest.size(), line.size() + 1));
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab + 1 == line.size() || line.front() == '#') continue;
    const int id = std::stoi(std::string(line.substr(0, tab)));
    if (isHostWord(id)) ids.insert(id);
  }
  return ids;
}

TEST(HostWords, EveryTableTranslatesTheSameWords) {
  const std::set<int> english = hostWordsOf(LanguageId::fallback().row());
  EXPECT_TRUE(english.contains(static_cast<int>(HostWord::NicknameNow)));
  EXPECT_TRUE(english.contains(static_cast<int>(HostWord::Purple)));
  EXPECT_TRUE(english.contains(static_cast<int>(HostWord::NoPublicNickname)));
  EXPECT_TRUE(english.contains(static_cast<int>(HostWord::Loading)));
  for (const Language& language : kLanguages) EXPECT_EQ(hostWordsOf(language), english) << language.code;
}

// The words follow the plug-in's language; while it names none they stay in the last one.
TEST(HostWords, FollowThePlugInsLanguageAndKeepItWhileItNamesNone) {
  HostWords words;
  EXPECT_EQ(words(HostWord::Send), "Send");
  EXPECT_TRUE(words.follow(LanguageId::ofCode("fr")));
  EXPECT_EQ(words(HostWord::Send), "Envoyer");
  EXPECT_EQ(words(HostWord::Gradient, "2"), "Dégradé 2");
  EXPECT_EQ(words.text(HostWord::Gradient), "Dégradé %1");
  EXPECT_FALSE(words.follow(std::nullopt));
  EXPECT_FALSE(words.follow(LanguageId::ofCode("fr")));
  EXPECT_EQ(words(HostWord::Send), "Envoyer");
}

// The plug-in's messages answer a host word in their own language, without loading it at
// start-up.
TEST(HostWords, ThePlugInsMessagesSayThemInTheirLanguage) {
  MessageVariables spanish{MessageCatalogue(LanguageId::ofCode("es")->catalogueId())};
  EXPECT_EQ(spanish.message(static_cast<int>(HostWord::OkWouldSay)), "Aceptar diría: %1");
  EXPECT_EQ(spanish.message(static_cast<int>(HostWord::NicknameNow)), "Tu apodo ahora es");
}

}  // namespace
}  // namespace tessalune::lang
