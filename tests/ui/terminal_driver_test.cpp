#include "ui/terminal_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "engine/xml2plus.h"
#include "platform/embedded_resources.h"
#include "store/config_file.h"
#include "store/quicknicks.h"
#include "support/config_fixture.h"
#include "support/recording_lifecycle.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"

namespace tessalune::ui {
namespace {

using engine::CharFormat;
using engine::makeColour;
using Lines = std::vector<std::string>;

constexpr engine::ColourNumber kRed = makeColour(255, 0, 0);

engine::StyledText styled(std::u32string_view chars, CharFormat format = {}) {
  engine::StyledText text;
  for (char32_t c : chars) text.push_back({c, format});
  return text;
}

engine::StyledText operator+(engine::StyledText a, const engine::StyledText& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The lines of a transcript that start with prefix, every run of spaces made one.
Lines linesStartingWith(const std::string& transcript, const std::string& prefix) {
  Lines lines;
  std::istringstream in(transcript);
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(prefix)) continue;
    std::string squeezed;
    for (char c : line) {
      if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
    }
    lines.push_back(squeezed);
  }
  return lines;
}

TEST(AnsiRender, WritesOnlyTheChangesOfFormatAndResetsAtTheEnd) {
  const CharFormat boldRed{kRed, std::nullopt, true};
  const CharFormat italicOnYellow{kRed, makeColour(255, 255, 0), false, true};
  const engine::StyledText text = styled(U"ab", boldRed) + styled(U"c", italicOnYellow) + styled(U"d");
  EXPECT_EQ(renderAnsi(text), "\x1b[1;38;2;255;0;0mab\x1b[22;3;48;2;255;255;0mc\x1b[23;39;49md\x1b[0m");
  EXPECT_EQ(renderAnsi(text, AnsiMode::Plain), "abcd");
  EXPECT_EQ(renderAnsi(styled(U"plain \u00E9t\u00E9")), "plain \u00E9t\u00E9");

  for (const auto& [toggle, expected] : {std::pair{&CharFormat::underline, "\x1b[4mx\x1b[24my\x1b[0m"},
                                         std::pair{&CharFormat::strike, "\x1b[9mx\x1b[29my\x1b[0m"}}) {
    CharFormat on;
    on.*toggle = true;
    EXPECT_EQ(renderAnsi(styled(U"x", on) + styled(U"y")), expected);
  }
}

// What the host does with Plus! text: the box as the user (or plus2rtf) formatted it.
TEST(AnsiRender, RendersAStyledBox) {
  engine::RichTextBox box;
  box.setText("Hi you");
  box.select(0, 2);
  box.setSelBold(true);
  box.setSelColor(makeColour(0x12, 0x34, 0x56));
  box.select(3, 3);
  box.setSelUnderline(true);
  box.setSelBackColor(makeColour(0, 0x80, 0xFF));
  EXPECT_EQ(renderAnsi(box), "\x1b[1;38;2;18;52;86mHi\x1b[22;39m \x1b[4;48;2;0;128;255myou\x1b[0m");
}

// The background stops before each newline so that a scrolling terminal does not paint the
// next line with it; the text colour carries on.
TEST(AnsiRender, LineBreaksAreNewlinesWithoutBackground) {
  const CharFormat redOnBlue{kRed, makeColour(0, 0, 255)};
  EXPECT_EQ(renderAnsi(styled(U"a\r\nb", redOnBlue)),
            "\x1b[38;2;255;0;0;48;2;0;0;255ma\x1b[49m\n\x1b[48;2;0;0;255mb\x1b[0m");
  EXPECT_EQ(renderAnsi(styled(U"a\nb\rc\r\n\r\n")), "a\nb\nc\n\n");
}

TEST(AnsiRender, CharactersThatWouldActOnTheTerminalAreReplaced) {
  for (AnsiMode mode : {AnsiMode::Colour, AnsiMode::Plain}) {
    EXPECT_EQ(renderAnsi(styled(U"a\x1b[2J\tb\u009B\x7F"), mode), "a\uFFFD[2J\tb\uFFFD\uFFFD");
  }
}

// A window with a control of every kind.
class ProbeWindow : public Window {
 public:
  ProbeWindow() : Window("frmProbe") {
    setCaption("Probe");
    for (Control* c : std::initializer_list<Control*>{&btnGo, &btnGo.label(), &chkA, &lst, &opt[0], &opt[1],
                                                      &txtName, &swatch, &lblHidden, &btnOff, &rtfA, &rtfB}) {
      add(*c);
    }
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
};

class TerminalDriverTest : public ::testing::Test {
 protected:
  // Shows the window through the driver reading script; returns what it printed.
  std::string run(const std::string& script, Window& shown) {
    in.str(script);
    in.clear();
    shown.showModal(driver);
    const std::string transcript = out.str();
    out.str("");
    return transcript;
  }
  std::string run(const std::string& script) { return run(script, window); }

  std::istringstream in;
  std::ostringstream out;
  platform::TerminalDialogs dialogs{out, true};
  TerminalDriver driver{in, out, dialogs, {AnsiMode::Plain}};
  ProbeWindow window;
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
  EXPECT_EQ(run("show\n"), listing + listing);

  const std::string coloured = describeWindow(window);
  EXPECT_NE(coloured.find("swatch    #FF8000 \x1b[48;2;255;128;0m  \x1b[0m\n"), std::string::npos);
  EXPECT_NE(coloured.find("    | \x1b[38;2;255;0;0mx\x1b[0m\n    | y\n"), std::string::npos);
}

TEST_F(TerminalDriverTest, ClickPressesReleasesAndClicksAsTheMouseDoes) {
  run("click btnGo\npress btnGo\nrelease btnGo\nclick btnGo_label\ncolour btnGo #000000\n");
  EXPECT_EQ(window.events, (Lines{"press", "release", "click", "press", "release", "press", "release",
                                  "click", "press", "release", "click"}));
}

TEST_F(TerminalDriverTest, CommandsSetChecksListsOptionsAndTexts) {
  run("# a comment, then a blank line\n\ncheck chkA on\r\ncheck chkA on\ncheck chkA off\n"
      "choose lst 2\nchoose opt 1\ntype txtName  Ada \\\\ Lovelace\n");
  EXPECT_EQ(window.events, (Lines{"chkA on", "chkA off"}));
  EXPECT_EQ(window.lst.listIndex(), 2);
  EXPECT_TRUE(window.opt[1].selected() && !window.opt[0].selected());
  EXPECT_EQ(window.txtName.text(), " Ada \\ Lovelace");

  run("choose lst green\ntype txtName\n");
  EXPECT_EQ(window.lst.listIndex(), 1);
  EXPECT_EQ(window.txtName.text(), "");
}

// Typing goes to the box last selected in, else to the first box shown that takes typing.
TEST_F(TerminalDriverTest, SelectAndTypeEditTheCurrentBox) {
  run("type Hello world\nselect 0 5\ntype Bye\nselect rtfB 4 0\ntype z\\n!\ntype ?\nselect 0 1\ntype X\n");
  EXPECT_EQ(window.rtfA.box().text(), "Bye world");
  EXPECT_EQ(window.rtfB.box().text(), "X\r\nyz\r\n!?");
  EXPECT_EQ(window.rtfB.box().characters()[0].format.textColour, kRed);  // the format of what it replaced

  window.rtfA.box().setLocked(true);
  window.rtfB.setVisible(false);
  run("type into the text box\n");
  EXPECT_EQ(window.txtName.text(), "into the text box");
}

TEST_F(TerminalDriverTest, ARefusedCommandPrintsOneErrorLineAndTheNextIsRead) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"frobnicate", "unknown command \"frobnicate\" (help lists them)"},
      {"click btnNope", "frmProbe has no control btnNope"},
      {"click btnGo twice", "usage: click CONTROL"},
      {"click lblHidden", "lblHidden is hidden"},
      {"colour btnOff #102030", "btnOff is disabled"},
      {"check btnGo on", "btnGo is not a check box"},
      {"check chkA maybe", "usage: check CONTROL on|off"},
      {"choose lst 3", "lst has positions 0 to 2 (-1 for none)"},
      {"choose lst purple", "lst has no entry \"purple\""},
      {"choose opt 7", "opt has no element 7"},
      {"choose chkA 1", "chkA is not a list"},
      {"select 1", "usage: select [BOX] START LENGTH"},
      {"select rtfA one 2", "\"one\" is not a number"},
      {"select txtName 0 1", "txtName is not a rich-text box"},
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
  EXPECT_EQ(window.events, Lines{"chkA on"});
  EXPECT_FALSE(window.visible());
}

// A window opened from a handler reads the same input; the lines after its close (here a
// plain hide: it has no close button) go back to the window that opened it, and the end of
// the input closes both.
TEST_F(TerminalDriverTest, AWindowOpenedByAClickReadsTheSameScript) {
  ProbeWindow inner;
  inner.setCaption("Inner");
  window.btnGo.setClickHandler([&] { inner.showModal(driver); });
  const std::string transcript = run("click btnGo\ncheck chkA on\nclose\ncheck chkA on\nshow\nclick btnGo\n");
  EXPECT_TRUE(inner.chkA.checked() && window.chkA.checked());
  EXPECT_FALSE(inner.visible() || window.visible());
  EXPECT_EQ(linesStartingWith(transcript, "=="), (Lines{"== Probe [frmProbe] ==", "== Inner [frmProbe] ==",
                                                        "== Probe [frmProbe] ==", "== Inner [frmProbe] =="}));
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
    TerminalDriver driver(in, out, dialogs, {AnsiMode::Plain});
    window.showModal(driver);
    return out.str();
  }

  testing::TempPluginDir dir;
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  testing::RecordingLifecycle lifecycle;
  std::ostringstream out;
  platform::TerminalDialogs dialogs{out, true};
  store::StoreContext context{dir.path(), dialogs, messages, failures.context};
};

TEST(TerminalDriverPrefs, AScriptSetsTheNicknameColouringAndTheFileHoldsIt) {
  TerminalStore s;
  lang::Translation translation{s.dir.path(), s.messages, s.dialogs};
  lang::CaptionList captions;
  CheckBox noEnd{"chk_noEnd"}, all{"chk_all"};
  Control editor{"frmPrincipal"}, title{"lbl_titre"}, nick{"rtf_nick"}, text{"rtf_text"}, group{"grp_nick"};
  int mode = lang::kNicknameMode;
  Control* currentBox = &nick;
  PrefsWindow prefs{
      PrefsDependencies{s.context, translation, captions,
                        lang::EditorModeView{mode, currentBox, editor, title, nick, text, noEnd, group, all},
                        noEnd, all, s.lifecycle, [] {}}};
  const std::filesystem::path exported = s.dir.path() / "my copy.xml";

  const std::string transcript = s.run(prefs,
                                       "check chkNick on\n"
                                       "choose opt_grad_nick 0\n"
                                       "choose opt_grad_nick 3\n"
                                       "colour btn_grad1_nick #FF8000\n"
                                       "colour btnSolid_nickBG_rect 123456\n"
                                       "choose combo_lang Italiano\n"
                                       "click btnText\n"
                                       "file " +
                                           exported.string() +
                                           "\n"
                                           "click btnExport\n"
                                           "show\n"
                                           "close\n"
                                           "check chk_upd on\n");
  EXPECT_TRUE(linesStartingWith(transcript, "error").empty()) << transcript;
  EXPECT_FALSE(prefs.visible());
  for (const auto& [path, value] : std::vector<std::pair<std::string, std::string>>{
           {"/config/nickprefs/enabled", "1"},
           {"/config/nickprefs/FGtype", "2"},
           {"/config/nickprefs/FGgradtype", "3"},
           {"/config/nickprefs/FGgrad1", "#FF8000"},
           {"/config/nickprefs/BGcolor", "#123456"},
           {"/config/lang", "it"},
           {"/config/update", "0"}}) {  // the line after close is not this window's
    EXPECT_EQ(s.dir.configValue(path), value) << path;
  }
  EXPECT_TRUE(std::filesystem::exists(exported));
  EXPECT_EQ(linesStartingWith(transcript, "panelNick "), Lines{"panelNick frame"});  // the first listing
  EXPECT_EQ(linesStartingWith(transcript, "panelText "), Lines{"panelText frame"});  // the second
  EXPECT_EQ(linesStartingWith(transcript, "btnSolid_nickBG_rect "),
            (Lines{"btnSolid_nickBG_rect swatch #AED7FF", "btnSolid_nickBG_rect swatch #123456"}));
  EXPECT_TRUE(s.failures.report.reports.empty());
}

// The manager with three entries, shortcuts a, b and c, the first shown.
class TerminalDriverQuickNickTest : public ::testing::Test {
 protected:
  TerminalDriverQuickNickTest() {
    s.dir.writeConfig(testing::defaultConfigWith(
        {{"<quicknicks>\r\n\t</quicknicks>",
          R"(<quicknicks><quicknick shortcut="a">Alpha</quicknick><quicknick shortcut="b">Beta</quicknick>)"
          R"(<quicknick shortcut="c">Gamma</quicknick></quicknicks>)"}}));
    state.count = 3;
    window.lbl_nbQN.setCaption("1 / 3");
    store::QuickNickContext ctx = window.storeContext();
    store::readQN(ctx);
  }
  std::size_t shortcutMessages(const std::string& transcript) const {
    return linesStartingWith(transcript, "Tessalune: The specified shortcut is already used").size();
  }
  std::string firstShortcut() const {
    platform::XmlDocument doc;
    EXPECT_TRUE(doc.load(s.dir.configFile()));
    return doc.selectSingleNode("/config/quicknicks/quicknick").attribute("shortcut");
  }

  TerminalStore s;
  store::QuickNickState state;
  platform::HostMessenger messenger{"Neo"};
  engine::RichTextBox scratch{"rtf_mask"};
  std::string codedResult;
  QuickNickWindow window{QuickNickDependencies{s.context, state, messenger,
                                               [this] {
                                                 return engine::ConversionContext{
                                                     engine::editor_mode::kNickname,
                                                     false,
                                                     s.dialogs,
                                                     s.messages,
                                                     s.failures.context,
                                                     s.lifecycle,
                                                     scratch};
                                               },
                                               codedResult}};
};

TEST_F(TerminalDriverQuickNickTest, ATakenShortcutHoldsTheEntryUntilTheScriptCorrectsIt) {
  const std::string transcript = s.run(window,
                                       "type txt_shortcut b\n"
                                       "click btnNext\n"
                                       "type txt_shortcut x\n"
                                       "click btnNext\n"
                                       "type rtf_quicknick hi\n"
                                       "click btnUse\n");
  EXPECT_EQ(linesStartingWith(transcript, "lbl_nbQN "), Lines{"lbl_nbQN label \"1 / 3\""});
  EXPECT_NE(transcript.find(" selection 0+0  read-only\n    | Alpha\n"), std::string::npos) << transcript;
  EXPECT_EQ(shortcutMessages(transcript), 1u);
  EXPECT_EQ(linesStartingWith(transcript, "error"), Lines{"error: rtf_quicknick is read-only"});
  EXPECT_EQ(firstShortcut(), "x");
  EXPECT_EQ(codedResult, engine::xml2plus("Beta"));
  EXPECT_FALSE(window.visible());
}

// close clicks the window's own Close button: a refused commit keeps the window open.
TEST_F(TerminalDriverQuickNickTest, CloseIsTheModelsCloseButton) {
  const std::string transcript =
      s.run(window, "type txt_shortcut c\nclose\ntype txt_shortcut z\nclose\nshow\n");
  EXPECT_EQ(shortcutMessages(transcript), 1u);
  EXPECT_EQ(firstShortcut(), "z");
  EXPECT_EQ(linesStartingWith(transcript, "==").size(), 1u);  // show was not this window's
  EXPECT_FALSE(window.visible());
}

}  // namespace
}  // namespace tessalune::ui
