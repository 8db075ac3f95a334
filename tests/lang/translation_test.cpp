#include "lang/translation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>

#include "lang/languages.h"
#include "platform/embedded_resources.h"
#include "support/config_fixture.h"

namespace tessalune::lang {
namespace {

// "L1\r\nL2\r\n...": line i of the file is "Li".
std::string numberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "L" + std::to_string(i) + "\r\n";
  return text;
}

// A caption as a control would take it.
struct Caption final : CaptionTarget {
  void setCaption(std::string caption) override { text = std::move(caption); }
  std::string text;
};

// A plug-in folder, the editor's parts that follow its mode, and a caption list of 83
// stand-ins captioned "old" in which, as in the real one, entries 3 and 21 are the
// editor's grp_nick and chk_all.
class TranslationTest : public ::testing::Test {
 protected:
  TranslationTest() {
    for (int i = 1; i <= 83; ++i) {
      standIns.push_back(std::make_unique<Caption>());
      texts.push_back(i == 3 ? &grp_nick : i == 21 ? &chk_all : standIns.back().get());
      texts.back()->text = "old";
      captions.push_back(texts.back());
    }
  }
  void write(const std::string& name, std::string_view bytes) {
    std::ofstream(dir.path() / "Tessalune" / (name + ".lng"), std::ios::binary) << bytes;
  }
  void load(const std::string& name, std::string_view bytes) {
    write(name, bytes);
    translation.loadLanguage(name);
  }
  // Captions 1 to `set` read "L1" to "Lset"; the rest kept "old".
  void expectCaptions(std::size_t set) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
      EXPECT_EQ(texts[i]->text, i < set ? "L" + std::to_string(i + 1) : "old") << i;
    }
  }

  testing::TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  Translation translation{dir.path(), messages, dialogs};

  // What the editor does with the captions of its mode.
  void showModeCaptions() {
    const ModeCaptions mine = translation.modeCaptions(mode);
    window.text = lbl_titre.text = mine.title;
    if (mine.frame) grp_nick.text = *mine.frame;
    if (mine.all) chk_all.text = *mine.all;
  }
  void applyLanguage() {
    if (translation.applyLanguage(captions) && mode == kTextMode) showModeCaptions();
  }
  void switchMode() {
    mode = mode == kTextMode ? kNicknameMode : kTextMode;
    showModeCaptions();
  }

  static constexpr engine::EditorMode kNicknameMode = engine::EditorMode::Nickname;
  static constexpr engine::EditorMode kTextMode = engine::EditorMode::Text;
  Caption window, lbl_titre, grp_nick, chk_all;
  engine::EditorMode mode = kNicknameMode;
  std::vector<std::unique_ptr<Caption>> standIns;
  std::vector<Caption*> texts;
  CaptionList captions;
};

// Empty lines and lines beginning with an apostrophe are skipped, others kept whole; the
// file is UTF-8 (a signature is dropped), or Windows-1252 when it is not valid UTF-8.
TEST_F(TranslationTest, ReadsTheUsefulLinesOfUtf8OrWindows1252Files) {
  using Lines = std::vector<std::string>;
  const Lines four{"One", "Two  ", " 'three", "Four's"};
  for (const auto& [bytes, expected] :
       {std::pair{"One\nTwo  \n 'three\nFour's", four},
        std::pair{"' header\r\n\r\nOne\r\n'One\r\n\r\n\r\nTwo  \r\n 'three\r\n'\r\nFour's\r\n", four},
        std::pair{"Pr\351f\351rences\r\n", Lines{"Préférences"}},
        std::pair{"Préférences\r\n", Lines{"Préférences"}},
        std::pair{"\xEF\xBB\xBF' signature, then a comment\r\nOK\r\n", Lines{"OK"}}}) {
    load("x", bytes);
    EXPECT_EQ(translation.lines(), expected) << bytes;
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

// A missing file and one that cannot be read (a folder): message 120 and the previous
// captions stay; the mode-dependent captions fall back to the built-in French texts.
// Missing, a folder, a pipe (never waited on) or larger than any language file.
TEST_F(TranslationTest, AnUnreadableFileSaysSoAndLeavesThePreviousCaptions) {
  std::filesystem::create_directory(dir.path() / "Tessalune" / "dutch.lng");
  ASSERT_EQ(::mkfifo((dir.path() / "Tessalune" / "french.lng").c_str(), 0600), 0);
  std::ofstream(dir.path() / "Tessalune" / "spanish.lng") << std::string(kMaxLanguageFileBytes + 1, '\n');
  for (const std::string name : {"italian", "dutch", "french", "spanish"}) {
    load("english", numberedLines(85));
    applyLanguage();
    dialogs.clear();

    translation.loadLanguage(name);
    EXPECT_TRUE(translation.missing());
    ASSERT_EQ(dialogs.shown().size(), 1u) << name;
    EXPECT_EQ(dialogs.shown()[0].text, "Missing translation for " + name + ".");
    EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Critical);
    EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");
    applyLanguage();
    expectCaptions(83);
    switchMode();
    EXPECT_EQ(grp_nick.text, "Mon message");
    EXPECT_EQ(chk_all.text, "Colorer l'intégralité du texte au lieu de la sélection");
    switchMode();
    EXPECT_EQ(grp_nick.text, "Mon Pseudo");
    EXPECT_EQ(chk_all.text, "Colorer l'intégralité du pseudo au lieu de la sélection");
  }
  translation.loadLanguage("english");
  EXPECT_FALSE(translation.missing());
}

// Applying a file in text mode switches through nickname mode back to text mode, so that
// lines 84 and 85 caption grp_nick and chk_all; a file of exactly 83 lines sets every
// caption and the switch still completes, grp_nick and chk_all keeping lines 3 and 21.
TEST_F(TranslationTest, ModeDependentCaptionsFollowTheMode) {
  for (const auto& [lines, startMode, title, frame, all] :
       {std::tuple{90, kNicknameMode, "", "L3", "L21"}, std::tuple{90, kTextMode, "Ondrivela", "L84", "L85"},
        std::tuple{83, kTextMode, "Ondrivela", "L3", "L21"}}) {
    mode = startMode;
    window.text = "";
    load("lines", numberedLines(lines));
    applyLanguage();
    EXPECT_EQ(window.text, title);
    EXPECT_EQ(grp_nick.text, frame);
    EXPECT_EQ(chk_all.text, all);
  }
  expectCaptions(83);
  EXPECT_EQ(lbl_titre.text, "Ondrivela");
  EXPECT_TRUE(dialogs.shown().empty());

  switchMode();
  EXPECT_EQ(window.text, "Tessalune");
  EXPECT_EQ(lbl_titre.text, "Tessalune");
  EXPECT_EQ(grp_nick.text, "L3");
  EXPECT_EQ(chk_all.text, "L21");
}

TEST_F(TranslationTest, AnIncompleteFileSaysSoAndKeepsTheCaptionsItDidNotReach) {
  mode = kTextMode;
  load("incomplete", numberedLines(50));
  applyLanguage();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "Error: the current translation file is incomplete.");
  EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Critical);
  expectCaptions(50);
  EXPECT_EQ(window.text, "");  // stopped before switching
}

TEST_F(TranslationTest, EveryShippedLanguageFileSetsEveryCaption) {
  for (const Language& language : kLanguages) {
    const std::string name(language.fileName);
    const auto bytes = platform::embeddedResource("Tessalune/" + name + ".lng");
    ASSERT_TRUE(bytes) << name;
    for (Caption* caption : texts) caption->text = "";
    mode = kTextMode;
    load(name, *bytes);
    applyLanguage();
    EXPECT_EQ(translation.lines().size(), 85u) << name;
    EXPECT_TRUE(dialogs.shown().empty()) << name;
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_NE(texts[i]->text, "") << name << " " << i;
    EXPECT_EQ(grp_nick.text, translation.line(84)) << name;
  }
}

}  // namespace
}  // namespace tessalune::lang
