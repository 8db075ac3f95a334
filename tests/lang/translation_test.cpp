#include "lang/translation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "lang/languages.h"
#include "lang/message_variables.h"
#include "platform/embedded_resources.h"
#include "platform/scripted_dialogs.h"
#include "platform/ui_language.h"

namespace tessalune::lang {
namespace {

// "L1\r\nL2\r\n...": line i of the file is "Li".
std::string numberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "L" + std::to_string(i) + "\r\n";
  return text;
}

// A plug-in folder in the temporary directory, the editor controls switchMode works on,
// and a caption list of 83 stand-ins in which, as in the real one, entries 3 and 21 are
// the editor's grp_nick and chk_all.
class TranslationTest : public ::testing::Test {
 protected:
  TranslationTest() {
    std::filesystem::create_directories(dir / "Tessalune");
    messages.loadMessages();
    for (int i = 1; i <= 83; ++i) {
      if (i == 3) {
        captions.push_back(&grp_nick);
      } else if (i == 21) {
        captions.push_back(&chk_all);
      } else {
        standIns.push_back(std::make_unique<ui::Control>("c" + std::to_string(i)));
        captions.push_back(standIns.back().get());
      }
    }
    setAllCaptions("old");
  }
  ~TranslationTest() override { std::filesystem::remove_all(dir); }

  void write(const std::string& name, std::string_view bytes) {
    std::ofstream(dir / "Tessalune" / (name + ".lng"), std::ios::binary) << bytes;
  }
  void setAllCaptions(const std::string& text) {
    for (ui::Control* control : captions) control->setCaption(text);
  }

  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-lang-" + std::to_string(std::random_device{}()));
  platform::ScriptedDialogs dialogs;
  MessageVariables messages{MessageCatalogue(platform::language::kEnglish)};
  Translation translation{dir, messages, dialogs};

  ui::Control window{"frmPrincipal"}, lbl_titre{"lbl_titre"}, rtf_nick{"rtf_nick"}, rtf_text{"rtf_text"},
      chk_noEnd{"chk_noEnd"}, grp_nick{"grp_nick"}, chk_all{"chk_all"};
  int mode = kNicknameMode;
  ui::Control* currentBox = &rtf_nick;
  EditorModeView view{mode, currentBox, window, lbl_titre, rtf_nick, rtf_text, chk_noEnd, grp_nick, chk_all};

  std::vector<std::unique_ptr<ui::Control>> standIns;
  CaptionList captions;
};

TEST_F(TranslationTest, CommentsAndEmptyLinesAreSkippedAndOtherLinesKeptWhole) {
  write("plain", "One\nTwo  \n 'three\nFour's");
  write("commented", "' header\r\n\r\nOne\r\n'One\r\n\r\n\r\nTwo  \r\n 'three\r\n'\r\nFour's\r\n");
  const std::vector<std::string> expected{"One", "Two  ", " 'three", "Four's"};
  translation.loadLanguage("plain");
  EXPECT_EQ(translation.lines(), expected);
  translation.loadLanguage("commented");
  EXPECT_EQ(translation.lines(), expected);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(TranslationTest, ReadsUtf8AndFallsBackToWindows1252) {
  const struct {
    std::string_view bytes;
    std::string_view firstLine;
  } cases[] = {
      {"Pr\xE9"
       "f\xE9rences\r\n",
       "Préférences"},
      {"Préférences\r\n", "Préférences"},
      {"\xEF\xBB\xBF' signature, then a comment\r\nOK\r\n", "OK"},
  };
  for (const auto& c : cases) {
    write("x", c.bytes);
    translation.loadLanguage("x");
    ASSERT_FALSE(translation.lines().empty()) << c.bytes;
    EXPECT_EQ(translation.lines().front(), c.firstLine);
  }
}

TEST_F(TranslationTest, AnUnreadableFileSaysSoAndLeavesThePreviousCaptions) {
  std::filesystem::create_directory(dir / "Tessalune" / "dutch.lng");
  for (const std::string name : {"italian", "dutch"}) {
    write("english", numberedLines(85));
    translation.loadLanguage("english");
    translation.applyLanguage(captions, view);
    dialogs.clear();

    translation.loadLanguage(name);
    EXPECT_TRUE(translation.missing());
    ASSERT_EQ(dialogs.shown().size(), 1u) << name;
    EXPECT_EQ(dialogs.shown()[0].text, "Missing translation for " + name + ".");
    EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Critical);
    EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");

    translation.applyLanguage(captions, view);
    for (std::size_t i = 0; i < captions.size(); ++i)
      EXPECT_EQ(captions[i]->caption(), "L" + std::to_string(i + 1));
    // The mode-dependent captions fall back to the built-in French texts at the next switch.
    translation.switchMode(view);
    EXPECT_EQ(grp_nick.caption(), "Mon message");
    EXPECT_EQ(chk_all.caption(), "Colorer l'intégralité du texte au lieu de la sélection");
    translation.switchMode(view);
    EXPECT_EQ(grp_nick.caption(), "Mon Pseudo");
    EXPECT_EQ(chk_all.caption(), "Colorer l'intégralité du pseudo au lieu de la sélection");
  }
  translation.loadLanguage("english");
  EXPECT_FALSE(translation.missing());
}

TEST_F(TranslationTest, EightyThreeLinesSetEveryCaptionAndTheTextModeSwitchCompletes) {
  write("short", numberedLines(83));
  mode = kTextMode;
  currentBox = &rtf_text;
  translation.loadLanguage("short");
  translation.applyLanguage(captions, view);

  EXPECT_TRUE(dialogs.shown().empty());
  for (std::size_t i = 0; i < captions.size(); ++i)
    EXPECT_EQ(captions[i]->caption(), "L" + std::to_string(i + 1));
  EXPECT_EQ(mode, kTextMode);
  EXPECT_EQ(currentBox, &rtf_text);
  EXPECT_EQ(window.caption(), "Ondrivela");
  EXPECT_EQ(lbl_titre.caption(), "Ondrivela");
  EXPECT_FALSE(rtf_nick.visible());
  EXPECT_TRUE(rtf_text.visible());
  EXPECT_FALSE(chk_noEnd.visible());
}

TEST_F(TranslationTest, ModeDependentCaptionsFollowTheMode) {
  write("full", numberedLines(90));
  translation.loadLanguage("full");
  const struct {
    int startMode;
    std::string_view title, frame, all;
  } cases[] = {{kNicknameMode, "", "L3", "L21"}, {kTextMode, "Ondrivela", "L84", "L85"}};
  for (const auto& c : cases) {
    mode = c.startMode;
    window.setCaption("");
    translation.applyLanguage(captions, view);
    EXPECT_EQ(mode, c.startMode);
    EXPECT_EQ(window.caption(), c.title);
    EXPECT_EQ(grp_nick.caption(), c.frame);
    EXPECT_EQ(chk_all.caption(), c.all);
  }
  translation.switchMode(view);
  EXPECT_EQ(mode, kNicknameMode);
  EXPECT_EQ(currentBox, &rtf_nick);
  EXPECT_EQ(window.caption(), "Tessalune");
  EXPECT_EQ(lbl_titre.caption(), "Tessalune");
  EXPECT_TRUE(rtf_nick.visible() && chk_noEnd.visible());
  EXPECT_FALSE(rtf_text.visible());
  EXPECT_EQ(grp_nick.caption(), "L3");
  EXPECT_EQ(chk_all.caption(), "L21");
}

TEST_F(TranslationTest, AnIncompleteFileSaysSoAndKeepsTheCaptionsItDidNotReach) {
  write("incomplete", numberedLines(50));
  mode = kTextMode;
  translation.loadLanguage("incomplete");
  translation.applyLanguage(captions, view);

  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "Error: the current translation file is incomplete.");
  EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Critical);
  for (std::size_t i = 0; i < captions.size(); ++i)
    EXPECT_EQ(captions[i]->caption(), i < 50 ? "L" + std::to_string(i + 1) : "old") << i;
  EXPECT_EQ(window.caption(), "");  // stopped before switching
}

TEST_F(TranslationTest, EveryShippedLanguageFileSetsEveryCaption) {
  for (const Language& language : kLanguages) {
    const std::string name(language.fileName);
    const auto bytes = platform::embeddedResource("Tessalune/" + name + ".lng");
    ASSERT_TRUE(bytes) << name;
    write(name, *bytes);
    setAllCaptions("");
    mode = kTextMode;
    translation.loadLanguage(name);
    translation.applyLanguage(captions, view);

    EXPECT_EQ(translation.lines().size(), 85u) << name;
    EXPECT_TRUE(dialogs.shown().empty()) << name;
    for (const ui::Control* control : captions)
      EXPECT_NE(control->caption(), "") << name << " " << control->name();
    EXPECT_EQ(grp_nick.caption(), translation.line(84)) << name;
  }
}

}  // namespace
}  // namespace tessalune::lang
