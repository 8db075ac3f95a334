#include "views/terminal_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/embedded_resources.h"
#include "store/config_file.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"
#include "ui/prefs_window.h"

namespace tessalune::views {
namespace {

using namespace ui;  // the driver is tried on window models of every kind

using engine::CharFormat;
using engine::makeColour;
using Lines = std::vector<std::string>;

constexpr engine::ColourNumber kRed = makeColour(255, 0, 0);

// The lines of a transcript that start with prefix, every run of spaces made one.
Lines linesStartingWith(const std::string& transcript, const std::string& prefix) {
  Lines lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) {
    const auto spaces = [](char a, char b) { return a == ' ' && b == ' '; };
    line.erase(std::unique(line.begin(), line.end(), spaces), line.end());
    if (line.starts_with(prefix)) lines.push_back(line);
  }
  return lines;
}

// A window that takes any controls.
struct OpenWindow : Window {
  using Window::add;
  using Window::Window;
};

// A window with a control of every kind, shown through the driver.
class TerminalDriverTest : public ::testing::Test {
 protected:
  TerminalDriverTest() {
    window.setCaption("Probe");
    for (Control* c : std::initializer_list<Control*>{&btnGo, &btnGo.label(), &chkA, &lst, &opt[0], &opt[1],
                                                      &txtName, &swatch, &lblHidden, &btnOff, &rtfA, &rtfB})
      window.add(*c);
    btnGo.setPressHandler([this] { events.emplace_back("press"); });
    btnGo.setReleaseHandler([this] { events.emplace_back("release"); });
    btnGo.setClickHandler([this] { events.emplace_back("click"); });
    btnGo.label().setCaption("Go");
    chkA.setCaption("Bold");
    chkA.setClickHandler([this] { events.push_back(chkA.checked() ? "chkA on" : "chkA off"); });
    lst.setListIndex(1);
    opt[0].setSelected();
    opt[1].setCaption("Gradient");
    swatch.setBackColour(makeColour(0xFF, 0x80, 0x00));
    lblHidden.setVisible(false);
    btnOff.setEnabled(false);
    rtfB.box().setText("x\r\ny");
    rtfB.box().select(0, 1);
    rtfB.box().setSelColor(kRed);
    rtfB.box().select(2, 1);
  }
  // Shows the window through the driver reading script; returns what it printed.
  std::string run(const std::string& script) {
    in.str(script);
    in.clear();
    window.showModal(driver);
    const std::string transcript = out.str();
    out.str("");
    return transcript;
  }

  OpenWindow window{"frmProbe"};
  OwnerDrawnButton btnGo{"btnGo"}, btnOff{"btnOff"};
  CheckBox chkA{"chkA"};
  ComboBox lst{"lst", {"red", "green", "blue"}};
  OptionGroup group;
  std::array<OptionButton, 2> opt{OptionButton{"opt(0)", group}, OptionButton{"opt(1)", group}};
  TextBox txtName{"txtName"};
  ColourSwatch swatch{"swatch"};
  Label lblHidden{"lblHidden"};
  RichTextControl rtfA{"rtfA"}, rtfB{"rtfB"};
  Lines events;
  std::istringstream in;
  std::ostringstream out;
  platform::TerminalDialogs dialogs{out, true};
  TerminalDriver driver{in, out, dialogs, {targets::AnsiMode::Plain}};
};

TEST_F(TerminalDriverTest, ShowPrintsTheTitleAndEveryVisibleControlWithItsState) {
  const std::string listing =
      "== Probe [frmProbe] ==\n"
      "btnGo        button\n"
      "btnGo_label  label     \"Go\"\n"
      "chkA         checkbox  [ ]  \"Bold\"\n"
      "lst          list      \"green\"  position 1 of 3\n"
      "opt(0)       option    (*)\n"
      "opt(1)       option    ( )  \"Gradient\"\n"
      "txtName      textbox   \"\"\n"
      "swatch       swatch    #FF8000\n"
      "btnOff       button    disabled\n"
      "rtfA         richtext  selection 0+0\n"
      "    | \n"
      "rtfB         richtext  selection 2+1\n"
      "    | x\n"
      "    | y\n";
  // A person's listing: the boxes' text, then only what can be acted on now, with captions.
  const std::string actions =
      "== Probe [frmProbe] ==\n"
      "rtfA | \n"
      "rtfB | x\n"
      "rtfB | y\n"
      "  btnGo                   \"Go\"\n"
      "  chkA                    \"Bold\"  [ ]\n"
      "  lst                     \"green\"  position 1 of 3\n"
      "  opt(0)                  (*)\n"
      "  opt(1)                  \"Gradient\"  ( )\n"
      "  txtName\n"
      "  swatch                  #FF8000\n"
      "  rtfA                    selection 0+0\n"
      "  rtfB                    selection 2+1\n";
  EXPECT_EQ(
      run("show\nshow --all\n"),
      actions +
          "Act on it by name or caption (click OK, type Hello, check chkNick on); help lists the commands, "
          "show shows it again, close leaves.\n" +
          actions + listing);

  const std::string coloured = describeWindow(window);
  EXPECT_NE(coloured.find("swatch    #FF8000 \x1b[38;2;0;0;0;48;2;255;128;0m  \x1b[0m\n"), std::string::npos);
  EXPECT_NE(coloured.find("    | \x1b[38;2;255;0;0;48;2;255;255;255mx\x1b[0m\n"
                          "    | \x1b[38;2;0;0;0;48;2;255;255;255my\x1b[0m\n"),
            std::string::npos);
}

// Typing goes to the box last selected in, else to the first box shown that takes typing,
// and takes the format of what it replaced.
TEST_F(TerminalDriverTest, CommandsActOnTheControlsAsTheUserWould) {
  run("type Hello world\nselect 0 5\ntype Bye\nselect rtfB 4 0\ntype z\\n!\ntype ?\nselect 0 1\ntype X\n"
      "click btnGo\npress btnGo\nrelease btnGo\nclick btnGo_label\ncolour btnGo #000000\n"
      "# a comment, then a blank line\n\ncheck chkA on\r\ncheck chkA on\ncheck chkA off\n"
      "choose lst 2\nchoose opt 1\ntype txtName  Ada \\\\ Lovelace\n");
  EXPECT_EQ(events, (Lines{"press", "release", "click", "press", "release", "press", "release", "click",
                           "press", "release", "click", "chkA on", "chkA off"}));
  EXPECT_EQ(lst.listIndex(), 2);
  EXPECT_TRUE(opt[1].selected() && !opt[0].selected());
  EXPECT_EQ(txtName.text(), " Ada \\ Lovelace");
  EXPECT_EQ(rtfA.box().text(), "Bye world");
  EXPECT_EQ(rtfB.box().text(), "X\r\nyz\r\n!?");
  EXPECT_EQ(rtfB.box().characters()[0].format.textColour, kRed);  // X took the format of x
  rtfA.box().setLocked(true);
  rtfB.setVisible(false);
  run("choose lst green\ntype into the text box\n");
  EXPECT_EQ(lst.listIndex(), 1);
  EXPECT_EQ(txtName.text(), "into the text box");
}

// A person names controls as they read them: by caption or name, in any case.
TEST_F(TerminalDriverTest, ControlsAnswerToTheirCaptionInAnyCase) {
  EXPECT_TRUE(linesStartingWith(run("click GO\nclick \"bold\"\nclick CHKA\n"), "error").empty());
  // Ticked by its caption, unticked by its name.
  EXPECT_EQ(events, (Lines{"press", "release", "click", "chkA on", "chkA off"}));
}

TEST_F(TerminalDriverTest, ARefusedCommandPrintsOneErrorLineAndTheNextIsRead) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"frobnicate", "unknown command \"frobnicate\" (help lists them)"},
      {"click btnNope", "frmProbe has no control btnNope (show lists them)"},
      {"click lblHidden", "lblHidden is hidden"},
      {"colour btnOff #102030", "btnOff is disabled"},
      {"check btnGo on", "btnGo is not a check box"},
      {"choose lst 3", "lst has positions 0 to 2 (-1 for none)"},
      {"choose opt 7", "opt has no element 7"},
      {"select rtfA one 2", "\"one\" is not a number"},
      {"colour swatch orange", "\"orange\" is not a colour #RRGGBB"},
      {"file", "usage: file PATH"},
  };
  std::string script;
  Lines expected;
  for (const auto& [command, error] : cases) {
    script += command + "\n";
    expected.push_back("error: " + error);
  }
  const std::string transcript = run(script + "help\ncheck chkA on\n");
  EXPECT_EQ(linesStartingWith(transcript, "error"), expected);
  EXPECT_NE(transcript.find("\n  colour CONTROL #RRGGBB     click CONTROL and answer"), std::string::npos);
  EXPECT_EQ(events, Lines{"chkA on"});
  EXPECT_FALSE(window.visible());  // the end of the input closed it
}

// A plug-in folder with the default English configuration and the language files, whose
// store shows its boxes and asks its dialogs on the driver's terminal.
struct TerminalStore {
  TerminalStore() {
    store::writeDefaultConfiguration(dir.path(), platform::language::kEnglish);
    for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
      std::ofstream(dir.path() / std::string(path), std::ios::binary) << *platform::embeddedResource(path);
    }
  }
  std::string run(Window& window, const std::string& script) {
    std::istringstream in(script);
    TerminalDriver driver(in, out, dialogs, {targets::AnsiMode::Plain});
    window.showModal(driver);
    return out.str();
  }

  testing::TempPluginDir dir;
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  testing::RecordingLifecycle lifecycle;
  std::ostringstream out;
  platform::TerminalDialogs dialogs{out, true};
  store::ConfigLock lock;
  store::StoreContext context{dir.path(), dialogs, messages, failures.context, lock};
};

// close clicks the window's own Close button: the line after it is not this window's.
TEST(TerminalDriverPrefs, AScriptSetsTheNicknameColouringAndTheFileHoldsIt) {
  TerminalStore s;
  lang::Translation translation{s.dir.path(), s.messages, s.dialogs};
  lang::CaptionList captions;
  CheckBox noEnd{"chk_noEnd"}, all{"chk_all"};
  store::Settings settings;
  PrefsWindow prefs{
      PrefsDependencies{s.context, settings, translation, captions, {}, noEnd, all, s.lifecycle, [] {}}};
  const std::filesystem::path exported = s.dir.path() / "my copy.xml";

  const std::string transcript =
      s.run(prefs,
            "check chkNick on\nchoose opt_grad_nick 0\nchoose opt_grad_nick 3\n"
            "colour btn_grad1_nick #FF8000\ncolour btnSolid_nickBG_rect 123456\n"
            "choose combo_lang Italiano\nshow --all\nclick btnText\nfile " +
                exported.string() + "\nclick btnExport\nshow --all\nclose\ncheck chk_upd on\n");
  EXPECT_TRUE(linesStartingWith(transcript, "error").empty()) << transcript;
  std::string values;  // the line after close is not this window's: update stays 0
  for (const char* path : {"nickprefs/enabled", "nickprefs/FGtype", "nickprefs/FGgradtype",
                           "nickprefs/FGgrad1", "nickprefs/BGcolor", "lang", "update"}) {
    values += s.dir.configValue("/config/" + std::string(path)) + " ";
  }
  EXPECT_EQ(values, "1 2 3 #FF8000 #123456 it 0 ");
  EXPECT_TRUE(std::filesystem::exists(exported));
  // Listed before the text tab is chosen; then the nickname panel, and the swatch on it, are hidden.
  EXPECT_EQ(linesStartingWith(transcript, "btnSolid_nickBG_rect "),
            (Lines{"btnSolid_nickBG_rect swatch #123456"}));
  EXPECT_NE(transcript.find("btnSolid_textBG_rect"), std::string::npos);
  EXPECT_TRUE(s.failures.report.reports.empty());
}

}  // namespace
}  // namespace tessalune::views
