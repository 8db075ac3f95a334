#include "purple_texts.h"

#include <gtest/gtest.h>

namespace tessalune::purple {
namespace {

// The chat plug-in's notices are in the language of the plug-in's preferences; the new
// nickname follows "Tessalune: " in the middle of a sentence.
TEST(PurpleTexts, SpeakThePlugInsLanguage) {
  PurpleTexts texts;
  EXPECT_EQ(texts.nicknameNow(), "your nickname is now ");
  texts.follow(lang::LanguageId::ofCode("es"));
  EXPECT_EQ(texts.nicknameNow(), "tu apodo ahora es ");
  EXPECT_EQ(texts(PurpleText::MessageNotSent, "x"), "el mensaje no se ha enviado: x.");
  EXPECT_EQ(texts(PurpleText::AnsweredNo), " (respuesta: No)");
}

// While the plug-in names no language (a restart whose configuration failed to load), the
// notices stay in the one it named last, as the desktop's words do.
TEST(PurpleTexts, KeepTheLastLanguageWhileThePlugInNamesNone) {
  PurpleTexts texts;
  texts.follow(lang::LanguageId::ofCode("it"));
  texts.follow(std::nullopt);
  EXPECT_EQ(texts(PurpleText::HaltedUntilEnabledAgain),
            "Tessalune si è fermato; disattiva e riattiva il plug-in per caricarlo di nuovo.");
}

}  // namespace
}  // namespace tessalune::purple
