#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/embedded_resources.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/english_messages.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/update_window.h"

namespace tessalune::ui {
namespace {

// Runs a script while a window is shown, and records what was shown: the window's name and,
// for the help window, the text its box held.
class ScriptedWindows : public WindowSystem {
 public:
  void runModal(Window& window) override {
    shown.push_back(window.name());
    if (auto* help = dynamic_cast<HelpWindow*>(&window)) helpTexts.push_back(help->rtfHelp.box().text());
    wasVisible = window.visible();
    if (script) script(window);
    hiddenByScript += !window.visible();
  }
  std::function<void(Window&)> script;
  std::vector<std::string> shown;
  std::vector<std::string> helpTexts;
  bool wasVisible = false;
  int hiddenByScript = 0;  // times the script left the window hidden, as a close button does
};

TEST(AboutWindow, ShowsVersionAndBuildInDecimalFromTheVersionNumbers) {
  platform::RecordingShell shell;
  struct Case {
    PluginVersion version;
    std::string ver, build, dotted;
  };
  for (const Case& c : std::vector<Case>{{kPluginVersion, "v2.0", "Build 708", "2.0.708"},
                                         {{3, 12, 5}, "v3.12", "Build 5", "3.12.5"},
                                         {{10, 0, 12}, "v10.0", "Build 12", "10.0.12"}}) {
    AboutWindow about(shell, c.version);
    EXPECT_EQ(about.lbl_ver.caption(), c.ver);
    EXPECT_EQ(about.lbl_build.caption(), c.build);
    EXPECT_EQ(dottedVersion(c.version), c.dotted);
  }
  AboutWindow about(shell);
  EXPECT_EQ(about.name(), "frmAbout");
  EXPECT_EQ(about.find("lbl_ver"), &about.lbl_ver);
  EXPECT_EQ(about.find("btnOK_label"), &about.btnOK.label());
  EXPECT_EQ(about.lbl_titre.caption(), "Tessalune v2");
  EXPECT_EQ(about.lbl_prod.caption(), "Tessalune");
  EXPECT_FALSE(about.visible());
}

TEST(AboutWindow, LinkOpensTheAddressItShowsThroughTheShell) {
  platform::RecordingShell shell;
  AboutWindow about(shell);
  about.lbl_link.click();
  about.lbl_link.setCaption("https://example.org/other");
  about.lbl_link.click();
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://tessalune.org", "https://example.org/other"}));
  EXPECT_TRUE(shell.started.empty());
}

TEST(AboutWindow, OkAndItsCaptionHideTheWindow) {
  platform::RecordingShell shell;
  AboutWindow about(shell);
  ScriptedWindows windows;
  windows.script = [&](Window&) { about.btnOK.label().click(); };
  about.showModal(windows);
  EXPECT_TRUE(windows.wasVisible);
  EXPECT_EQ(windows.hiddenByScript, 1);
  about.setVisible(true);
  about.btnOK.click();
  EXPECT_FALSE(about.visible());
}

// A plug-in folder, the messages and dialogs the help action reports through, and a
// window system that closes the help window with its button.
class HelpActionTest : public ::testing::Test {
 protected:
  HelpActionTest() {
    windows.script = [this](Window&) { help.btnClose.label().click(); };
  }
  std::filesystem::path readmeFolder() const { return dir.path() / "Tessalune"; }
  void writeReadme(const std::string& name, const std::string& text) const {
    std::ofstream(readmeFolder() / name, std::ios::binary) << "{\\rtf1\\ansi " << text << "\\par\n}";
  }
  void help_Click(int index) { btnHelp_Click(help, index, dir.path(), dialogs, messages, windows); }
  static std::string missing(const std::string& file) {
    return "The " + file + " file is missing. Reinstalling Tessalune will solve the problem.";
  }

  testing::TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  ScriptedWindows windows;
  HelpWindow help;
};

TEST_F(HelpActionTest, EachLanguageShowsItsOwnReadmeModally) {
  const std::vector<std::string> bases{"lisezmoi", "readme", "leesmij", "leeme", "llegeix-me", "leggimi"};
  for (const std::string& base : bases) writeReadme(base + ".rtf", "This is " + base);
  for (int index = 0; index < 6; ++index) help_Click(index);

  ASSERT_EQ(windows.helpTexts.size(), bases.size());
  for (std::size_t i = 0; i < bases.size(); ++i) EXPECT_EQ(windows.helpTexts[i], "This is " + bases[i]);
  EXPECT_EQ(windows.shown, std::vector<std::string>(6, "frmHelp"));
  EXPECT_TRUE(windows.wasVisible);
  EXPECT_EQ(windows.hiddenByScript, 6);  // btnClose hid it each time
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(HelpActionTest, DutchOpensTheShippedLeesmij) {
  std::ofstream(readmeFolder() / "leesmij.rtf", std::ios::binary)
      << *platform::embeddedResource("Tessalune/leesmij.rtf");
  help_Click(2);
  ASSERT_EQ(windows.helpTexts.size(), 1u);
  EXPECT_TRUE(windows.helpTexts[0].starts_with("Tessalune - Gebruikershandleiding")) << windows.helpTexts[0];
}

TEST_F(HelpActionTest, PositionsOutsideTheListDoNothingAtAll) {
  writeReadme("readme.rtf", "English");
  for (int index : {-1, 6, 1036}) help_Click(index);
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_EQ(help.rtfHelp.box().text(), "");
}

// Only a name equal byte for byte is the readme: neither another spelling of it nor a
// folder of that name; the previous document stays in the window.
TEST_F(HelpActionTest, AReadmeNotFoundUnderExactlyItsNameIsReportedMissing) {
  writeReadme("lisezmoi.rtf", "Français");
  help_Click(0);
  writeReadme("ReadMe.rtf", "English");
  help_Click(1);
  std::filesystem::create_directory(readmeFolder() / "leeme.rtf");
  help_Click(3);
  std::filesystem::remove_all(readmeFolder());
  help_Click(5);

  ASSERT_EQ(dialogs.shown().size(), 3u);
  EXPECT_EQ(dialogs.shown()[0].text, missing("readme.rtf"));
  EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Critical);
  EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");
  EXPECT_EQ(dialogs.shown()[1].text, missing("leeme.rtf"));
  EXPECT_EQ(dialogs.shown()[2].text, missing("leggimi.rtf"));
  EXPECT_EQ(windows.shown, std::vector<std::string>{"frmHelp"});
  EXPECT_EQ(help.rtfHelp.box().text(), "Français");
}

TEST(HelpWindow, ResizingKeepsTheMinimumAndPlacesTextAndCloseButton) {
  struct Case {
    int width, height;        // asked for
    int windowW, windowH;     // taken
    int textW, textH;         // rtfHelp
    int closeLeft, closeTop;  // btnClose
  };
  HelpWindow help;
  EXPECT_EQ(help.caption(), "Tessalune");
  EXPECT_EQ(help.find("titleBar"), nullptr);            // no banner
  EXPECT_EQ(help.rtfHelp.width(), help.width() - 360);  // laid out from the start
  for (const Case& c : std::vector<Case>{{4500, 3000, 4500, 3000, 4140, 1890, 3045, 2115},
                                         {1000, 200, 4500, 3000, 4140, 1890, 3045, 2115},
                                         {4499, 9000, 4500, 9000, 4140, 7890, 3045, 8115},
                                         {12000, 2999, 12000, 3000, 11640, 1890, 10545, 2115},
                                         {4501, 3001, 4501, 3001, 4141, 1891, 3046, 2116}}) {
    help.resizeTo(c.width, c.height);
    EXPECT_EQ(help.width(), c.windowW) << c.width;
    EXPECT_EQ(help.height(), c.windowH) << c.height;
    EXPECT_EQ(help.rtfHelp.width(), c.textW) << c.width;
    EXPECT_EQ(help.rtfHelp.height(), c.textH) << c.height;
    EXPECT_EQ(help.btnClose.left(), c.closeLeft) << c.width;
    EXPECT_EQ(help.btnClose.top(), c.closeTop) << c.height;
  }
}

TEST(UpdateWindow, StartsIdleWithOnlyTheCheckButtonAndCloseHides) {
  UpdateWindow update;
  EXPECT_EQ(update.name(), "frmUpd");
  for (const char* name : {"titleBar", "lbl_titre", "grp_maj", "lbl_majVerTitle", "lbl_majVer", "lbl_majInfo",
                           "btnCheck", "btnNews", "btnDwld", "btnClose", "cnt_dwld", "lbl_status",
                           "lbl_progress", "cnt_progressBar", "progressBar", "btnCancel"}) {
    EXPECT_NE(update.find(name), nullptr) << name;
  }
  EXPECT_TRUE(update.btnCheck.visible() && update.btnClose.visible());
  EXPECT_FALSE(update.btnNews.visible() || update.btnDwld.visible() || update.cnt_dwld.visible() ||
               update.cnt_progressBar.visible() || update.btnCancel.visible());
  EXPECT_EQ(update.progressBar.width(), 15);

  update.setVisible(true);
  update.btnClose.label().click();
  EXPECT_FALSE(update.visible());
}

}  // namespace
}  // namespace tessalune::ui
