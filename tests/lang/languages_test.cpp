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
  EXPECT_EQ(LanguageId::fallback().row().code, "en");
  EXPECT_EQ(LanguageId::fallback().catalogueId(), platform::language::kEnglish);
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

// A language found by its list position, its message table or its code is the same row.
TEST(LanguageTable, ALanguageIsTheSameByPositionCatalogueAndCode) {
  for (const Language& row : kLanguages) {
    const std::optional<LanguageId> byPosition = LanguageId::atPosition(row.position);
    ASSERT_TRUE(byPosition) << row.code;
    EXPECT_EQ(LanguageId::ofCatalogue(row.catalogueId), byPosition) << row.code;
    EXPECT_EQ(LanguageId::ofCode(row.code), byPosition) << row.code;
    EXPECT_EQ(&byPosition->row(), &row);
  }
  for (const int catalogueId : {0, 1, 1031, 2057})
    EXPECT_FALSE(LanguageId::ofCatalogue(catalogueId)) << catalogueId;
  EXPECT_FALSE(LanguageId::ofCode("de"));
}

}  // namespace
}  // namespace tessalune::lang
