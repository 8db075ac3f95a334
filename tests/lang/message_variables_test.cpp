#include "lang/message_variables.h"

#include <gtest/gtest.h>

#include "platform/ui_language.h"

namespace tessalune::lang {
namespace {

TEST(MessageVariables, AreEmptyUntilLoadedThenHoldTheCatalogueText) {
  MessageVariables english{MessageCatalogue(platform::language::kEnglish)};
  EXPECT_EQ(english.message(109), "");
  english.loadMessages();
  EXPECT_EQ(english.message(109), "The nickname is too long. Please choose another one");
  EXPECT_EQ(english.message(120), "Missing translation for ");  // a fragment: the name follows
  EXPECT_EQ(english.message(149), "The nickname was saved successfully.");
  for (const int id : {0, 100, 156, 900, 909}) EXPECT_EQ(english.message(id), "") << id;
}

TEST(MessageVariables, SpeakTheCatalogueLanguage) {
  MessageVariables english{MessageCatalogue(platform::language::kEnglish)};
  MessageVariables french{MessageCatalogue(platform::language::kFrench)};
  english.loadMessages();
  french.loadMessages();
  EXPECT_EQ(french.message(109), MessageCatalogue(platform::language::kFrench).text(109));
  EXPECT_NE(french.message(109), english.message(109));
  EXPECT_NE(french.message(901), english.message(901));
}

TEST(MessageVariables, ReadTheCommandTextsWhenAskedWithoutLoading) {
  const MessageVariables english{MessageCatalogue(platform::language::kEnglish)};
  EXPECT_EQ(english.message(901), "Create a colored nickname");
  EXPECT_EQ(english.message(908), "Help");
}

}  // namespace
}  // namespace tessalune::lang
