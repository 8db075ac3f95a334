#include "ui/editor_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/colour.h"
#include "engine/direct_colouring.h"
#include "engine/gradient.h"
#include "engine/rtf2xml.h"
#include "platform/scripted_dialogs.h"
#include "support/config_fixture.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"
#include "support/recording_lifecycle.h"
#include "views/terminal_driver.h"

namespace tessalune::ui {
namespace {

using engine::BoxColour;
using engine::ColourNumber;
using engine::hex2rgb;
using engine::Tristate;

const ColourNumber kBlack = 0;
const ColourNumber kWhite = 0xFFFFFF;
const ColourNumber kRed = hex2rgb("#FF0000");
const ColourNumber kYellow = hex2rgb("#FFFF00");
const ColourNumber kNavy = hex2rgb("#000080");       // the text panel's starting gradient colour 1
const ColourNumber kLightBlue = hex2rgb("#0080FF");  // and its colour 2
const ColourNumber kSky = hex2rgb("#55AAFF");        // the background panel's starting colour 1
const ColourNumber kPale = hex2rgb("#D5EAFF");       // and its colour 2

// The text colours of a box's characters, or their backgrounds.
std::vector<BoxColour> colours(const engine::RichTextBox& box, bool background = false) {
  std::vector<BoxColour> out;
  for (const engine::StyledChar& c : box.characters())
    out.push_back(background ? c.format.background : c.format.textColour);
  return out;
}
std::vector<BoxColour> all(std::size_t n, BoxColour c) {
  return std::vector<BoxColour>(n, c);
}

// A fresh editor as start-up creates it, with recording dialogs, hooks and paint buffers.
class EditorWindowTest : public ::testing::Test {
 protected:
  engine::RichTextBox& nick() { return editor.rtf_nick.box(); }
  // What the editor's OK would give for box, converted on its own.
  std::string converted(const engine::RichTextBox& box, std::int16_t background, bool noEnd = false) {
    engine::RichTextBox copy, scratch;
    copy.setTextRtf(box.textRtf());
    engine::ConversionContext ctx{editor.mode(),    noEnd,     dialogs, messages,
                                  failures.context, lifecycle, scratch};
    return engine::rtf2plus(copy, background, ctx);
  }
  // The colours (or backgrounds) a preset gives a text of n characters on its own.
  std::vector<BoxColour> gradient(int n, engine::GradientPreset preset, ColourNumber c1, ColourNumber c2,
                                  bool background = false) {
    engine::RichTextBox box, scratch;
    box.setText(std::string(static_cast<std::size_t>(n), 'x'));
    engine::PaintContext paint{scratch, failures.context};
    const engine::TwoColourGradient p = engine::presetGradient(preset, c1, c2);
    engine::doGradient(box, 0, n, p.first, p.second, n, p.kind,
                       background ? engine::PaintTarget::Background : engine::PaintTarget::Text, paint);
    return colours(box, background);
  }
  // The formatting the code view disables: the toggles, chk_BG, and the tab and panel of a
  // colour side ("FG" or "BG").
  void expectFormattingEnabled(bool enabled, const std::string& side) {
    std::vector<std::string> names{"btnBold",    "btnItalic_label",      "btnUline", "btnSO_label", "chk_BG",
                                   "btn" + side, "btn" + side + "_label"};
    for (const char* part : {"", "_lblTitle", "_lblUni", "_lblGrad", "_lbl_rightArrow", "_solid_label"})
      names.push_back("panelColor" + side + part);
    for (const std::string& name : names) {
      ASSERT_NE(editor.find(name), nullptr) << name;
      EXPECT_EQ(editor.find(name)->enabled(), enabled) << name;
    }
  }
  void expectQuiet() {
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(failures.report.reports.empty());
  }

  testing::TempPluginDir dir;
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  testing::RecordingLifecycle lifecycle;
  lang::Translation translation{dir.path(), messages, dialogs};
  gdi::OwnerDrawing drawing;
  int prefsShown = 0, aboutShown = 0, helpShown = 0;
  EditorWindow editor{EditorDependencies{dialogs, messages, failures.context, lifecycle,
                                         [this] { ++prefsShown; }, [this] { ++aboutShown; },
                                         [this] { ++helpShown; }, &translation, &drawing}};
};

// In text mode the message box takes every action. With backgrounds on, the code view also
// disables the background side.
TEST_F(EditorWindowTest, TextModeMakesTheMessageBoxCurrentForEveryAction) {
  editor.setMode(engine::EditorMode::Text);
  EXPECT_EQ(editor.mode(), engine::EditorMode::Text);
  EXPECT_EQ(&editor.currentEditorBox(), &editor.rtf_text);
  // The message box is the one shown (and listed by a view); the nickname box is not.
  EXPECT_TRUE(editor.rtf_text.shownWithin(editor) && !editor.rtf_nick.shownWithin(editor) &&
              !editor.chk_noEnd.visible());
  EXPECT_NE(views::describeWindow(editor).find("rtf_text "), std::string::npos);
  engine::RichTextBox& text = editor.rtf_text.box();
  editor.btnBold.click();
  EXPECT_EQ(text.selBold(), Tristate::True);
  EXPECT_EQ(nick().selBold(), Tristate::False);

  editor.chk_BG.click();
  editor.btnCode.click();
  expectFormattingEnabled(false, "BG");
  editor.btnCode.click();
  expectFormattingEnabled(true, "BG");

  text.setText("");  // OK with an empty box says so and keeps the window open
  editor.setVisible(true);
  editor.btnOK.click();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "You must type a message.");
  EXPECT_TRUE(editor.visible());
  EXPECT_TRUE(text.hasFocus());
  editor.setMode(engine::EditorMode::Nickname);
  EXPECT_TRUE(editor.rtf_nick.acceptsUser() && !editor.rtf_text.shown());
}

TEST_F(EditorWindowTest, OkConvertsWithTheBackgroundFlagAndHidesOnlyWithAResultAndCancelEmptiesIt) {
  nick().setText("Hi there");
  nick().select(0, 2);
  editor.chk_BG.click();
  editor.panelColorBG_solid[7].click();  // yellow behind "Hi"
  ASSERT_EQ(colours(nick(), true)[1], BoxColour{kYellow});
  for (std::int16_t flag : {1, 0}) {
    editor.chk_BG.setChecked(flag == 1);
    editor.setVisible(true);
    editor.btnOK.label().click();
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(editor.codedResult(), converted(nick(), flag));
  }
  EXPECT_NE(converted(nick(), 1), converted(nick(), 0));
  expectQuiet();
  editor.btnCancel.click();
  EXPECT_FALSE(editor.visible());
  EXPECT_EQ(editor.codedResult(), "");
  EXPECT_TRUE(nick().hasFocus());
}

// The code view shows the codes locked and disables the formatting; OK during it converts
// the styled text, not the codes on show.
TEST_F(EditorWindowTest, CodeViewShowsTheCodesAndOkStillConvertsTheStyledText) {
  nick().setText("Code me");
  editor.panelColorFG_grad[0].click();
  const std::string styled = nick().textRtf();
  const std::string code = converted(nick(), 0);

  editor.btnCode.click();
  ASSERT_TRUE(editor.codeView());
  EXPECT_EQ(nick().text(), code);
  EXPECT_TRUE(nick().locked());
  expectFormattingEnabled(false, "FG");

  editor.btnCode.label().click();
  EXPECT_FALSE(editor.codeView() || nick().locked());
  EXPECT_EQ(nick().textRtf(), styled);
  expectFormattingEnabled(true, "FG");

  editor.btnCode.click();
  editor.setVisible(true);
  editor.btnOK.click();
  EXPECT_FALSE(editor.codeView() || editor.visible());
  EXPECT_EQ(nick().textRtf(), styled);
  EXPECT_EQ(editor.codedResult(), code);
  expectQuiet();
}

TEST_F(EditorWindowTest, FormatTogglesActOnTheSelectionOrOnTheWholeText) {
  using Box = engine::RichTextBox;
  for (const auto& [button, read] :
       {std::pair{&editor.btnBold, &Box::selBold}, std::pair{&editor.btnItalic, &Box::selItalic},
        std::pair{&editor.btnUline, &Box::selUnderline}, std::pair{&editor.btnSO, &Box::selStrikeThru}}) {
    SCOPED_TRACE(button->name());
    nick().setText("abcdef");
    const auto state = [&](int start, int length) {
      nick().select(start, length);
      return (nick().*read)();
    };
    nick().select(0, 2);
    button->click();  // the selection only
    EXPECT_EQ(state(0, 2), Tristate::True);
    EXPECT_EQ(state(2, 4), Tristate::False);
    nick().setSelStart(4);
    button->label().click();  // nothing selected, partly on: all on, caret kept
    EXPECT_EQ(nick().selStart(), 4);
    EXPECT_EQ(state(0, 6), Tristate::True);
    button->click();  // all on: all off
    EXPECT_EQ(state(0, 6), Tristate::False);

    editor.chk_all.setChecked(true);  // plays no part
    nick().select(0, 3);              // mixed becomes on
    button->click();
    EXPECT_EQ(state(0, 3), Tristate::True);
    editor.chk_all.setChecked(false);
  }
  expectQuiet();
}

// The front tab stands higher and lighter. Unticking chk_BG removes every background, keeps
// the caret and brings the text tab back.
TEST_F(EditorWindowTest, TabsBringTheirPanelToTheFrontAndUntickingBackgroundsClearsThem) {
  editor.chk_BG.click();
  for (bool background : {false, true}) {
    OwnerDrawnButton& front = background ? editor.btnBG : editor.btnFG;
    OwnerDrawnButton& other = background ? editor.btnFG : editor.btnBG;
    front.label().press();
    EXPECT_TRUE(editor.panelColorBG.visible() == background && editor.panelColorFG.visible() != background);
    EXPECT_EQ(front.top(), 1665);
    EXPECT_EQ(other.top(), 1680);
    EXPECT_EQ(front.backColour(), system_colour::k3DHighlight);
    EXPECT_EQ(other.backColour(), system_colour::kButtonFace);
  }
  nick().setText("abcd");
  editor.panelColorBG_solid[7].click();
  ASSERT_EQ(colours(nick(), true), all(4, kYellow));
  nick().setSelStart(2);
  editor.chk_BG.click();
  EXPECT_EQ(colours(nick(), true), all(4, kWhite));
  EXPECT_EQ(nick().selStart(), 2);
  EXPECT_TRUE(editor.panelColorFG.visible() && !editor.panelColorBG.visible());
  EXPECT_FALSE(editor.btnBG.enabled());
}

// A colour button colours the selection, or the whole text when nothing is selected or
// chk_all is ticked, keeping the caret, and becomes its side's last style.
TEST_F(EditorWindowTest, ColourButtonsColourTheSelectionUnlessNothingIsSelectedOrAllIsTicked) {
  const ColourNumber between = engine::makeColour(0, 64, 191);  // halfway, blue truncated from 191.5
  struct Case {
    Control& button;
    int start, length;
    bool all, background;
    std::vector<BoxColour> expected;  // of the button's side
    engine::LastStyle style;
  };
  using engine::GradientPreset;
  const engine::LastStyle solid = engine::LastStyle::solid();
  const auto grad = [](GradientPreset preset) { return engine::LastStyle::gradient(preset); };
  const std::vector<BoxColour> redMiddle{kBlack, kBlack, kRed, kRed, kRed, kBlack, kBlack},
      preset3{kBlack, kNavy, between, kLightBlue, between, kNavy, kBlack},
      yellowAt1{std::nullopt, kYellow, kYellow, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
  const std::vector<Case> cases{
      {editor.panelColorFG_solid_rect[5], 2, 3, false, false, redMiddle, solid},
      {editor.panelColorFG_solid_rect[5], 2, 3, true, false, all(7, kRed), solid},
      {editor.panelColorFG_grad[2], 1, 5, false, false, preset3, grad(GradientPreset::Grad3)},
      {editor.panelColorFG_grad_rect[0], 3, 0, false, false,
       gradient(7, GradientPreset::Grad1, kNavy, kLightBlue), grad(GradientPreset::Grad1)},
      {editor.panelColorFG_grad_rect[3], 3, 0, false, false,
       gradient(7, GradientPreset::Grad4, kNavy, kLightBlue), grad(GradientPreset::Grad4)},
      {editor.panelColorFG_grad[1], 2, 2, true, false, gradient(7, GradientPreset::Grad2, kNavy, kLightBlue),
       grad(GradientPreset::Grad2)},
      {editor.panelColorBG_solid[7], 1, 2, false, true, yellowAt1, solid},
      {editor.panelColorBG_grad[0], 2, 2, true, true, gradient(7, GradientPreset::Grad1, kSky, kPale, true),
       grad(GradientPreset::Grad1)}};
  editor.chk_BG.click();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button.name() + (c.all ? " all" : ""));
    editor.chk_all.setChecked(false);
    nick().setText("abcdefg");
    nick().select(0, 7);
    nick().setSelColor(kBlack);
    nick().setSelBackColor(std::nullopt);
    editor.chk_all.setChecked(c.all);
    nick().select(c.start, c.length);
    c.button.click();
    EXPECT_EQ(colours(nick(), c.background), c.expected);
    EXPECT_EQ(colours(nick(), !c.background), c.background ? all(7, kBlack) : all(7, std::nullopt));
    EXPECT_EQ(c.background ? editor.lastBackgroundStyle() : editor.lastTextStyle(), c.style);
    EXPECT_EQ(nick().selStart(), c.start);
  }
  EXPECT_EQ(editor.btnFG_rect.backColour(), kRed);  // the last solid colour of each side
  EXPECT_EQ(editor.btnBG_rect.backColour(), kYellow);
  expectQuiet();
}

// A selection that starts or ends inside a cluster (here a family: man, ZWJ, woman, ZWJ,
// girl at 1 to 5) widens to the whole cluster before a format button, a colour or a preset
// acts on it, so no format or colour changes inside it.
TEST_F(EditorWindowTest, FormatsAndColoursOverASelectionCoverWholeClusters) {
  struct Case {
    Control& button;
    int start, length;
    int widenedStart, widenedLength;  // a preset leaves the caret at the widened start
  };
  const std::vector<Case> cases{{editor.btnBold, 0, 3, 0, 6},
                                {editor.btnUline, 3, 3, 1, 5},
                                {editor.panelColorFG_solid_rect[5], 2, 1, 1, 5},
                                {editor.panelColorFG_grad[0], 4, 3, 1, 0},
                                {editor.panelColorBG_grad[1], 2, 2, 1, 0}};
  editor.chk_BG.click();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button.name() + " from " + std::to_string(c.start));
    nick().setText("a\U0001F468\u200D\U0001F469\u200D\U0001F467bc");
    nick().select(0, nick().length());
    nick().setSelColor(kBlack);
    nick().select(c.start, c.length);
    c.button.click();
    EXPECT_EQ(nick().selStart(), c.widenedStart);
    EXPECT_EQ(nick().selLength(), c.widenedLength);
    const engine::StyledText& chars = nick().characters();
    EXPECT_FALSE(chars.formatAt(1) == chars.formatAt(7));  // the family did change
    for (std::size_t i = 2; i <= 5; ++i) EXPECT_TRUE(chars.formatAt(i) == chars.formatAt(1)) << i;
  }
  expectQuiet();
}

// The tab's swatch shows the last preset (3: navy at the edges, light blue in the middle);
// a new gradient colour redraws the previews, not the text, and the next preset takes it.
TEST_F(EditorWindowTest, SwatchAndPreviewsShowTheGradientColours) {
  editor.registerDrawing();
  drawing.render();
  nick().setText("abcdef");
  editor.panelColorFG_grad[2].click();
  const gdi::Image* swatch = drawing.imageFor(editor.btnFG_rect, editor.paintStyles());
  ASSERT_NE(swatch, nullptr);
  EXPECT_EQ(swatch->pixel(0, 0), kNavy);
  EXPECT_EQ(swatch->pixel(gdi::roundHalfToEven(swatch->width(), 2), 0), kLightBlue);

  const std::string text = nick().textRtf();
  dialogs.queueColour(kRed);
  editor.panelColorFG_grad1_rect.click();  // the swatch inside is the button
  EXPECT_EQ(drawing.previewImage(gdi::PreviewSet::EditorText, engine::GradientPreset::Grad1)->pixel(0, 0),
            kRed);
  EXPECT_EQ(nick().textRtf(), text);
  editor.panelColorFG_grad[0].click();
  EXPECT_EQ(colours(nick()).front(), BoxColour{kRed});
  expectQuiet();
}

TEST_F(EditorWindowTest, TickingAllOrTypingWithItReappliesTheLastStyles) {
  nick().setText("abcdef");
  nick().select(0, 2);
  editor.panelColorFG_grad[0].click();
  editor.chk_BG.click();
  editor.panelColorBG_solid[7].click();  // the selection only
  ASSERT_EQ(colours(nick())[3], BoxColour{kBlack});
  editor.chk_all.click();
  EXPECT_EQ(colours(nick()), gradient(6, engine::GradientPreset::Grad1, kNavy, kLightBlue));
  EXPECT_EQ(colours(nick(), true), all(6, kYellow));

  nick().setSelStart(2);
  nick().replaceSelection("XYZ");  // typed at the caret
  EXPECT_EQ(nick().text(), "abXYZcdef");
  EXPECT_EQ(colours(nick()), gradient(9, engine::GradientPreset::Grad1, kNavy, kLightBlue));
  EXPECT_EQ(colours(nick(), true), all(9, kYellow));
  EXPECT_EQ(nick().selStart(), 5);

  expectQuiet();
}

// A text past a gradient's 16-bit positions keeps its colours without a report, whole or
// selected; OK then refuses it as too long.
TEST_F(EditorWindowTest, AGradientOverATextTooLongForItIsSkippedAndOkSaysTooLong) {
  nick().setText(std::string(40000, 'a'));
  editor.panelColorFG_grad[0].click();
  nick().select(32000, 1000);
  editor.panelColorFG_grad[2].click();
  EXPECT_EQ(colours(nick())[32500], BoxColour{kBlack});
  expectQuiet();
  editor.setVisible(true);
  editor.btnOK.click();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "The nickname is too long. Please choose another one.");
  EXPECT_TRUE(failures.report.reports.empty());
}

// The editor's preset 1 over the whole text, background off, gives what direct colouring
// gives with a gradient type 1 preset of the editor's two gradient colours.
TEST_F(EditorWindowTest, GradientPresetOneMatchesDirectColouring) {
  for (const char* typed : {"Hello", "x", "a longer nickname with spaces :)"}) {
    SCOPED_TRACE(typed);
    nick().setText(typed);
    editor.panelColorFG_grad[0].click();
    editor.setVisible(true);
    editor.btnOK.click();
    const engine::StylePreset preset{.FGtype = engine::StyleKind::Gradient,
                                     .FGgradtype = engine::GradientPreset::Grad1,
                                     .FGgrad1 = editor.panelColorFG_grad1_rect.backColour(),
                                     .FGgrad2 = editor.panelColorFG_grad2_rect.backColour(),
                                     .BGtype = engine::StyleKind::None};
    engine::RichTextBox autoBox, scratch;
    engine::ConversionContext ctx{
        engine::EditorMode::Nickname, false, dialogs, messages, failures.context, lifecycle, scratch};
    EXPECT_EQ(editor.codedResult(), engine::colourArgument(typed, preset, autoBox, ctx));
  }
  expectQuiet();
}

}  // namespace
}  // namespace tessalune::ui
