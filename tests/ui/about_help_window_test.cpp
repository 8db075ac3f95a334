#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "platform/embedded_resources.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "support/config_fixture.h"
#include "support/english_messages.h"
#include "support/scripted_windows.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/update_window.h"
#include "update/plugin_version.h"

namespace tessalune::ui {
namespace {

// The version and build in decimal; the link opens whatever address it shows; OK (or its
// caption) hides the window.
TEST(AboutWindow, ShowsTheVersionOpensTheLinkThroughTheShellAndOkHides) {
  platform::RecordingShell shell;
  const auto captions = [](const update::PluginVersion& v) {
    return VersionCaptions{update::versionCaption(v), std::to_string(v.revision)};
  };
  AboutWindow about(shell, captions(update::kPluginVersion)), later(shell, captions({10, 12, 5}));
  EXPECT_EQ(about.lbl_ver.caption() + " " + about.lbl_build.caption(), "v2.0 Build 708");
  EXPECT_EQ(later.lbl_ver.caption() + " " + later.lbl_build.caption(), "v10.12 Build 5");

  about.lbl_link.click();
  about.lbl_link.setCaption("https://example.org/other");
  about.lbl_link.click();
  EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://tessalune.org", "https://example.org/other"}));
  EXPECT_TRUE(shell.started.empty());
  for (Control* ok : std::initializer_list<Control*>{&about.btnOK, &about.btnOK.label()}) {
    about.setVisible(true);
    ok->click();
    EXPECT_FALSE(about.visible());
  }
}

// A plug-in folder, and a window system that records the help text shown and closes the
// window with its button.
class HelpActionTest : public ::testing::Test {
 protected:
  HelpActionTest() {
    windows.onShow = [this](Window& shown) {
      EXPECT_TRUE(shown.visible());
      texts.push_back(help.rtfHelp.box().text());
      help.btnClose.label().click();
      EXPECT_FALSE(shown.visible());
    };
  }
  std::filesystem::path folder() const { return dir.path() / "Tessalune"; }
  void writeReadme(const std::string& name, const std::string& text) const {
    std::ofstream(folder() / name, std::ios::binary) << "{\\rtf1\\ansi " << text << "\\par\n}";
  }
  void click(int index) { btnHelp_Click(help, index, dir.path(), dialogs, messages, windows); }

  testing::TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  testing::ScriptedWindows windows;
  std::vector<std::string> texts;
  HelpWindow help;
};

// Dutch opens the shipped leesmij.rtf.
TEST_F(HelpActionTest, EachLanguageShowsItsOwnReadmeModallyAndOthersNothing) {
  const std::vector<std::string> bases{"lisezmoi", "readme", "leesmij", "leeme", "llegeix-me", "leggimi"};
  for (const std::string& base : bases) writeReadme(base + ".rtf", base);
  std::ofstream(folder() / "leesmij.rtf", std::ios::binary)
      << *platform::embeddedResource("Tessalune/leesmij.rtf");
  for (int index : {-1, 0, 1, 2, 3, 4, 5, 6, 1036}) click(index);  // outside the list: nothing at all
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_TRUE(texts[2].starts_with("Tessalune - Gebruikershandleiding")) << texts[2];
  texts[2] = "leesmij";
  EXPECT_EQ(texts, bases);
  EXPECT_EQ(windows.shown, std::vector<std::string>(6, "frmHelp"));
  EXPECT_TRUE(dialogs.shown().empty());
}

// Only a name equal byte for byte is the readme: neither another spelling of it nor a
// folder of that name; the message names the file and the previous document stays.
TEST_F(HelpActionTest, AReadmeNotFoundUnderExactlyItsNameIsReportedMissing) {
  writeReadme("lisezmoi.rtf", "Français");
  click(0);
  writeReadme("ReadMe.rtf", "English");
  click(1);
  std::filesystem::create_directory(folder() / "leeme.rtf");
  click(3);
  std::filesystem::remove_all(folder());
  click(5);
  ASSERT_EQ(dialogs.shown().size(), 3u);
  for (std::size_t i = 0; const std::string file : {"readme.rtf", "leeme.rtf", "leggimi.rtf"}) {
    EXPECT_EQ(dialogs.shown()[i++].text,
              "The " + file + " file is missing. Reinstalling Tessalune will solve the problem.");
  }
  EXPECT_EQ(dialogs.shown()[0].icon, platform::Icon::Critical);
  EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");
  EXPECT_EQ(windows.shown, std::vector<std::string>{"frmHelp"});
  EXPECT_EQ(help.rtfHelp.box().text(), "Français");
}

// Asked for width by height, the window takes its size, rtfHelp fills it and btnClose keeps
// to the lower right corner.
TEST(HelpWindow, ResizingKeepsTheMinimumAndPlacesTextAndCloseButton) {
  using Layout = std::array<int, 6>;  // window width, height; rtfHelp width, height; btnClose left, top
  HelpWindow help;
  EXPECT_EQ(help.rtfHelp.width(), help.width() - 360);  // laid out from the start
  for (const auto& [width, height, expected] :
       std::vector<std::tuple<int, int, Layout>>{{4500, 3000, {4500, 3000, 4140, 1890, 3045, 2115}},
                                                 {1000, 200, {4500, 3000, 4140, 1890, 3045, 2115}},
                                                 {4499, 9000, {4500, 9000, 4140, 7890, 3045, 8115}},
                                                 {12000, 2999, {12000, 3000, 11640, 1890, 10545, 2115}}}) {
    help.resizeTo(width, height);
    EXPECT_EQ((Layout{help.width(), help.height(), help.rtfHelp.width(), help.rtfHelp.height(),
                      help.btnClose.left(), help.btnClose.top()}),
              expected)
        << width << "x" << height;
  }
}

}  // namespace
}  // namespace tessalune::ui
