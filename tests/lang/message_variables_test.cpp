#include "lang/message_variables.h"

#include <gtest/gtest.h>

#include "platform/ui_language.h"

namespace tessalune::lang {
namespace {

// Empty until loaded, then the catalogue's text in its language; the command texts are read
// without loading.
TEST(MessageVariables, HoldTheCatalogueTextOnceLoaded) {
  MessageVariables english{MessageCatalogue(platform::language::kEnglish)};
  MessageVariables french{MessageCatalogue(platform::language::kFrench)};
  EXPECT_EQ(english.message(109), "");
  EXPECT_EQ(english.message(901), "Create a colored nickname");
  EXPECT_EQ(english.message(908), "Help");
  english.loadMessages();
  french.loadMessages();
  EXPECT_EQ(english.message(109), "The nickname is too long. Please choose another one");
  EXPECT_EQ(english.message(120), "Missing translation for ");  // a fragment: the name follows
  for (const int id : {0, 100, 158, 900, 909}) EXPECT_EQ(english.message(id), "") << id;
  EXPECT_EQ(french.message(109), MessageCatalogue(platform::language::kFrench).text(109));
  EXPECT_NE(french.message(109), english.message(109));
  EXPECT_NE(french.message(901), english.message(901));
}

}  // namespace
}  // namespace tessalune::lang
