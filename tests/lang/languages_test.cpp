#include "lang/languages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/embedded_resources.h"

namespace tessalune::lang {
namespace {

TEST(LanguageTable, ConfigCodeSelectsTheListIndexAndAnyOtherSelectsEnglish) {
  const struct {
    std::string_view code;
    int index;
  } cases[] = {{"fr", 0}, {"en", 1}, {"nl", 2}, {"es", 3}, {"ca", 4},
               {"it", 5}, {"de", 1}, {"", 1},   {"FR", 1}};
  for (const auto& c : cases) EXPECT_EQ(languageIndex(c.code), c.index) << c.code;
}

TEST(LanguageTable, EveryEntryHasItsShippedFileAndMessageTable) {
  for (int i = 0; i < static_cast<int>(kLanguages.size()); ++i) {
    const Language* language = languageAt(i);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(languageIndex(language->code), i);
    EXPECT_TRUE(platform::embeddedResource("Tessalune/" + std::string(language->fileName) + ".lng"))
        << language->fileName;
    EXPECT_TRUE(platform::embeddedResource("messages/" + std::to_string(language->catalogueId) + ".txt"))
        << language->catalogueId;
  }
  EXPECT_EQ(languageAt(-1), nullptr);
  EXPECT_EQ(languageAt(6), nullptr);
}

}  // namespace
}  // namespace tessalune::lang
