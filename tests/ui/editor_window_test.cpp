#include "ui/editor_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
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

namespace tessalune::ui {
namespace {

using engine::BoxColour;
using engine::ColourNumber;
using engine::hex2rgb;
using engine::makeColour;

const ColourNumber kBlack = 0;
const ColourNumber kWhite = 0xFFFFFF;
const ColourNumber kRed = hex2rgb("#FF0000");
const ColourNumber kYellow = hex2rgb("#FFFF00");
const ColourNumber kNavy = hex2rgb("#000080");       // the text panel's gradient colour 1
const ColourNumber kLightBlue = hex2rgb("#0080FF");  // and its colour 2

std::vector<BoxColour> textColours(const engine::RichTextBox& box) {
  std::vector<BoxColour> out;
  for (const engine::StyledChar& c : box.characters()) out.push_back(c.format.textColour);
  return out;
}
std::vector<BoxColour> backgrounds(const engine::RichTextBox& box) {
  std::vector<BoxColour> out;
  for (const engine::StyledChar& c : box.characters()) out.push_back(c.format.background);
  return out;
}
std::vector<BoxColour> all(std::size_t n, ColourNumber colour) {
  return std::vector<BoxColour>(n, colour);
}

// A fresh editor as start-up creates it, with recording dialogs, hooks and paint buffers.
class EditorWindowTest : public ::testing::Test {
 protected:
  engine::RichTextBox& nick() { return editor.rtf_nick.box(); }
  // What the editor's OK would give for box, converted on its own.
  std::string converted(const engine::RichTextBox& box, std::int16_t background, bool noEnd = false) {
    engine::RichTextBox copy, scratch;
    copy.setTextRtf(box.textRtf());
    engine::ConversionContext ctx{mode, noEnd, dialogs, messages, failures.context, lifecycle, scratch};
    return engine::rtf2plus(copy, background, ctx);
  }
  // The colours (target 1) or backgrounds (2) a preset gives a text of n characters on its own.
  std::vector<BoxColour> gradientColours(int n, int preset, ColourNumber c1, ColourNumber c2,
                                         int target = 1) {
    engine::RichTextBox box, scratch;
    box.setText(std::string(static_cast<std::size_t>(n), 'x'));
    engine::PaintContext paint{scratch, failures.context};
    const engine::GradientPreset p = engine::gradientPreset(preset, c1, c2);
    engine::doGradient(box, 0, n, p.first, p.second, n, static_cast<int>(p.kind), target, paint);
    return target == 1 ? textColours(box) : backgrounds(box);
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
  std::string codedResult = "left by an earlier command";
  int mode = 0;
  Control* currentBox = nullptr;
  int prefsShown = 0, aboutShown = 0, helpShown = 0;
  EditorWindow editor{EditorDependencies{dialogs, messages, failures.context, lifecycle, codedResult, mode,
                                         currentBox, [this] { ++prefsShown; }, [this] { ++aboutShown; },
                                         [this] { ++helpShown; }, &translation, &drawing}};
};

TEST_F(EditorWindowTest, StartsHiddenInNicknameModeWithTheDesignDefaults) {
  EXPECT_EQ(editor.name(), "frmPrincipal");
  EXPECT_FALSE(editor.visible());
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(&editor.currentEditorBox(), currentBox);
  EXPECT_EQ(currentBox, &editor.rtf_nick);
  EXPECT_EQ(editor.lbl_titre.caption(), "Tessalune");
  EXPECT_FALSE(editor.codeView());
  EXPECT_EQ(editor.lastTextStyle() + editor.lastBackgroundStyle(), "");
  EXPECT_EQ(nick().text(), "Tessalune");
  EXPECT_EQ(editor.rtf_text.box().text(), "Ondrivela");
  EXPECT_EQ(editor.rtf_mask.box().text(), "Tessalune");
  EXPECT_EQ(textColours(editor.rtf_text.box()), all(9, kBlack));
  EXPECT_EQ(textColours(nick()), all(9, kBlack));
  for (const char* hidden : {"rtf_text", "rtf_mask", "rtf_auto", "panelColorBG"}) {
    EXPECT_FALSE(editor.find(hidden)->visible()) << hidden;
  }
  const char* palette[] = {"#FFFFFF", "#FFFFFF", "#000000", "#C0C0C0", "#808080", "#FF0000",
                           "#800000", "#FFFF00", "#808000", "#00FF00", "#008000", "#00FFFF",
                           "#008080", "#0000FF", "#000080", "#FF00FF", "#800080"};
  for (std::size_t i = 0; i < 17; ++i) {
    EXPECT_EQ(engine::rgb2hex(editor.panelColorFG_solid_rect[i].backColour()), palette[i]) << i;
    EXPECT_EQ(engine::rgb2hex(editor.panelColorBG_solid_rect[i].backColour()), palette[i]) << i;
  }
  EXPECT_EQ(editor.panelColorFG_solid[6].top(), editor.panelColorFG_solid[2].top() + 255);  // rows of four
  EXPECT_EQ(editor.panelColorFG_grad1_rect.backColour(), kNavy);
  EXPECT_EQ(editor.panelColorFG_grad2_rect.backColour(), kLightBlue);
  EXPECT_EQ(engine::rgb2hex(editor.panelColorBG_grad1_rect.backColour()), "#55AAFF");
  EXPECT_EQ(engine::rgb2hex(editor.panelColorBG_grad2_rect.backColour()), "#D5EAFF");
  EXPECT_EQ(editor.btnFG_rect.backColour() | editor.btnBG_rect.backColour(), kBlack);
  EXPECT_FALSE(editor.chk_BG.checked() || editor.btnBG.enabled() || editor.btnBG.label().enabled());
  EXPECT_EQ(editor.btnFG.top(), 1665);
  EXPECT_EQ(editor.btnBG.top(), 1680);
  EXPECT_EQ(editor.btnCode.label().caption(), "Show code");

  for (const char* name : {"titleBar",
                           "btnAbout",
                           "btnHelp",
                           "grp_nick",
                           "btnBold_label",
                           "btnSO_label",
                           "btnCode_label",
                           "btnFG_label",
                           "btnBG_rect",
                           "panelColorBG_lblUni",
                           "panelColorFG_solid(0)",
                           "panelColorBG_solid(99)",
                           "panelColorFG_solid_rect(16)",
                           "panelColorBG_solid_label",
                           "panelColorFG_grad2_rect",
                           "panelColorFG_lbl_rightArrow",
                           "panelColorBG_grad(4)",
                           "panelColorFG_grad_rect(1)",
                           "chk_noEnd",
                           "btnPrefs_label",
                           "btnCancel_label",
                           "btnOK_label"}) {
    EXPECT_NE(editor.find(name), nullptr) << name;
  }
  EXPECT_EQ(editor.find("panelColorFG_grad(0)"), nullptr);
  const lang::CaptionList entries = editor.captionEntries();
  ASSERT_EQ(entries.size(), 24u);
  EXPECT_EQ(entries[7], &editor.btnCode.label());
  EXPECT_EQ(entries[17], &editor.panelColorFG_solid_label);
  EXPECT_EQ(entries[23], &editor.btnOK.label());
}

TEST_F(EditorWindowTest, TextModeMakesTheMessageBoxCurrentForEveryAction) {
  translation.switchMode(editor.modeView());
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(&editor.currentEditorBox(), &editor.rtf_text);
  EXPECT_TRUE(editor.rtf_text.visible() && !editor.rtf_nick.visible() && !editor.chk_noEnd.visible());
  engine::RichTextBox& text = editor.rtf_text.box();
  editor.btnBold.click();
  EXPECT_EQ(text.selBold(), engine::Tristate::True);
  EXPECT_EQ(nick().selBold(), engine::Tristate::False);

  text.setText("");
  editor.setVisible(true);
  editor.btnOK.click();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "You must type a message.");
  EXPECT_TRUE(editor.visible());
  EXPECT_TRUE(text.hasFocus() && !nick().hasFocus());
}

TEST_F(EditorWindowTest, OkConvertsWithTheBackgroundFlagAndHidesOnlyWithAResult) {
  nick().setText("Hi there");
  nick().select(0, 2);
  editor.chk_BG.click();
  editor.panelColorBG_solid[7].click();  // yellow behind "Hi"
  for (std::int16_t flag : {1, 0}) {
    editor.chk_BG.setChecked(flag == 1);
    editor.setVisible(true);
    editor.btnOK.label().click();
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(codedResult, converted(nick(), flag));
  }
  EXPECT_NE(converted(nick(), 1), converted(nick(), 0));
  expectQuiet();

  nick().setText("");
  editor.setVisible(true);
  editor.btnOK.click();
  EXPECT_EQ(dialogs.shown().at(0).text, "You must type a nick.");
  EXPECT_TRUE(editor.visible());
  EXPECT_EQ(codedResult, "");
  codedResult = "stale";
  editor.btnCancel.click();
  EXPECT_FALSE(editor.visible());
  EXPECT_EQ(codedResult, "");
  EXPECT_TRUE(nick().hasFocus());
}

TEST_F(EditorWindowTest, CodeViewShowsTheCodesLockedAndDisablesTheFormatting) {
  nick().setText("Code me");
  editor.panelColorFG_grad[0].click();
  const std::string styled = nick().textRtf();
  const std::string code = converted(nick(), 0);

  editor.btnCode.click();
  ASSERT_TRUE(editor.codeView());
  EXPECT_EQ(nick().text(), code);
  EXPECT_TRUE(nick().locked());
  EXPECT_EQ(textColours(nick()), all(nick().characters().size(), kBlack));
  EXPECT_EQ(backgrounds(nick()), all(nick().characters().size(), kWhite));
  EXPECT_EQ(editor.btnCode.label().caption(), "Show nickname");
  const std::vector<Control*> formatting{&editor.btnBold,
                                         &editor.btnItalic.label(),
                                         &editor.btnUline,
                                         &editor.btnSO.label(),
                                         &editor.btnFG,
                                         &editor.btnFG.label(),
                                         &editor.panelColorFG,
                                         &editor.panelColorFG_lblTitle,
                                         &editor.panelColorFG_lblUni,
                                         &editor.panelColorFG_lblGrad,
                                         &editor.panelColorFG_lbl_rightArrow,
                                         &editor.panelColorFG_solid_label,
                                         &editor.chk_BG};
  for (Control* c : formatting) EXPECT_FALSE(c->enabled()) << c->name();
  EXPECT_TRUE(editor.panelColorBG.enabled() && editor.chk_noEnd.enabled() && editor.chk_all.enabled());
  editor.panelColorFG_solid_rect[5].click();  // in the disabled panel: no effect
  editor.panelColorFG_grad_rect[1].click();
  EXPECT_EQ(nick().text(), code);
  EXPECT_EQ(editor.lastTextStyle(), "grad1");

  editor.btnCode.label().click();
  EXPECT_FALSE(editor.codeView() || nick().locked());
  EXPECT_EQ(nick().textRtf(), styled);
  EXPECT_EQ(editor.btnCode.label().caption(), "Show code");
  for (Control* c : formatting) EXPECT_TRUE(c->enabled()) << c->name();
  EXPECT_FALSE(editor.btnBG.enabled());

  // OK converts the styled text, not the codes on show.
  editor.btnCode.click();
  editor.setVisible(true);
  editor.btnOK.click();
  EXPECT_FALSE(editor.codeView());
  EXPECT_EQ(nick().textRtf(), styled);
  EXPECT_EQ(codedResult, code);
  expectQuiet();
}

TEST_F(EditorWindowTest, CodeViewWithBackgroundsDisablesThatSideAndLeavesWithLineEight) {
  {
    std::ofstream lng(dir.path() / "Tessalune" / "test.lng");
    for (int i = 1; i <= 85; ++i)
      lng << (i == 8 ? std::string("Voir le code") : "line " + std::to_string(i)) << "\n";
  }
  translation.loadLanguage("test");
  translation.switchMode(editor.modeView());
  editor.chk_BG.click();
  editor.btnCode.click();
  EXPECT_EQ(editor.btnCode.label().caption(), "Show message");
  for (Control* c : std::vector<Control*>{&editor.btnBG, &editor.btnBG.label(), &editor.panelColorBG,
                                          &editor.panelColorBG_lblTitle, &editor.panelColorBG_lblUni,
                                          &editor.panelColorBG_lblGrad, &editor.panelColorBG_lbl_rightArrow,
                                          &editor.panelColorBG_solid_label}) {
    EXPECT_FALSE(c->enabled()) << c->name();
  }
  editor.btnCode.click();
  EXPECT_EQ(editor.btnCode.label().caption(), "Voir le code");
  EXPECT_TRUE(editor.btnBG.enabled() && editor.panelColorBG.enabled() &&
              editor.panelColorBG_solid_label.enabled());
}

TEST_F(EditorWindowTest, CodeViewOfAnEmptyBoxChangesNothing) {
  nick().setText("");
  editor.btnCode.click();
  EXPECT_FALSE(editor.codeView() || nick().locked());
  EXPECT_EQ(dialogs.shown().at(0).text, "You must type a nick.");
  EXPECT_EQ(editor.btnCode.label().caption(), "Show code");
  EXPECT_TRUE(editor.btnBold.enabled() && editor.panelColorFG.enabled() && editor.chk_BG.enabled());
}

TEST_F(EditorWindowTest, SuffixOptionRefreshesTheCodesOnShow) {
  nick().setText("Neo");
  editor.panelColorFG_solid[5].click();
  ASSERT_NE(converted(nick(), 0, false), converted(nick(), 0, true));
  const std::string withoutEnd = converted(nick(), 0, true);
  editor.btnCode.click();
  editor.chk_noEnd.click();
  EXPECT_TRUE(editor.codeView());
  EXPECT_EQ(nick().text(), withoutEnd);
  editor.btnCode.click();
  editor.chk_noEnd.click();  // code view off: nothing to refresh
  EXPECT_EQ(nick().text(), "Neo");
}

TEST_F(EditorWindowTest, FormatTogglesActOnTheSelectionOrOnTheWholeText) {
  struct Toggle {
    OwnerDrawnButton& button;
    engine::Tristate (engine::RichTextBox::*read)() const;
  };
  for (const Toggle& t : {Toggle{editor.btnBold, &engine::RichTextBox::selBold},
                          Toggle{editor.btnItalic, &engine::RichTextBox::selItalic},
                          Toggle{editor.btnUline, &engine::RichTextBox::selUnderline},
                          Toggle{editor.btnSO, &engine::RichTextBox::selStrikeThru}}) {
    SCOPED_TRACE(t.button.name());
    nick().setText("abcdef");
    const auto state = [&](int start, int length) {
      nick().select(start, length);
      return (nick().*t.read)();
    };
    nick().select(0, 2);
    t.button.click();  // the selection only
    EXPECT_EQ(state(0, 2), engine::Tristate::True);
    EXPECT_EQ(state(2, 4), engine::Tristate::False);
    nick().setSelStart(4);
    t.button.label().click();  // nothing selected, partly on: all on, caret kept
    EXPECT_EQ(nick().selStart(), 4);
    EXPECT_EQ(state(0, 6), engine::Tristate::True);
    nick().setSelStart(1);
    t.button.click();  // all on: all off
    EXPECT_EQ(state(0, 6), engine::Tristate::False);

    editor.chk_all.setChecked(true);  // plays no part
    nick().select(1, 1);
    t.button.click();
    EXPECT_EQ(state(2, 4), engine::Tristate::False);
    nick().select(0, 3);  // mixed becomes on
    t.button.click();
    EXPECT_EQ(state(0, 3), engine::Tristate::True);
    editor.chk_all.setChecked(false);
  }
  expectQuiet();
}

TEST_F(EditorWindowTest, TabsBringTheirPanelToTheFrontAndStandHigher) {
  editor.btnBG.label().press();  // background colouring off: the tab takes no press
  EXPECT_TRUE(editor.panelColorFG.visible());
  editor.chk_BG.click();
  for (bool background : {true, false}) {
    OwnerDrawnButton& front = background ? editor.btnBG : editor.btnFG;
    OwnerDrawnButton& other = background ? editor.btnFG : editor.btnBG;
    front.label().press();
    EXPECT_TRUE(editor.panelColorBG.visible() == background && editor.panelColorFG.visible() != background);
    EXPECT_EQ(front.top(), 1665);
    EXPECT_EQ(other.top(), 1680);
    EXPECT_EQ(front.backColour(), system_colour::k3DHighlight);
    EXPECT_EQ(other.backColour(), system_colour::kButtonFace);
  }
}

TEST_F(EditorWindowTest, SolidColourGoesToTheSelectionUnlessNothingIsSelectedOrAllIsTicked) {
  struct Case {
    int start, length;
    bool all;
    std::vector<BoxColour> expected;
  };
  for (const Case& c : {Case{2, 3, false, {kBlack, kBlack, kRed, kRed, kRed, kBlack, kBlack}},
                        Case{2, 3, true, all(7, kRed)}, Case{4, 0, false, all(7, kRed)}}) {
    nick().setText("abcdefg");
    nick().select(0, 7);
    nick().setSelColor(kBlack);
    editor.chk_all.setChecked(c.all);
    nick().select(c.start, c.length);
    editor.panelColorFG_solid_rect[5].click();
    EXPECT_EQ(textColours(nick()), c.expected) << c.length << c.all;
    EXPECT_EQ(editor.btnFG_rect.backColour(), kRed);
    EXPECT_EQ(editor.lastTextStyle(), "solid");
    EXPECT_TRUE(nick().hasFocus());
  }
  // The background side sets backgrounds, its swatch and its own last style.
  editor.chk_all.setChecked(false);
  editor.chk_BG.click();
  nick().select(1, 2);
  editor.panelColorBG_solid[7].click();
  EXPECT_EQ(backgrounds(nick()), (std::vector<BoxColour>{std::nullopt, kYellow, kYellow, std::nullopt,
                                                         std::nullopt, std::nullopt, std::nullopt}));
  EXPECT_EQ(editor.btnBG_rect.backColour(), kYellow);
  EXPECT_EQ(editor.lastBackgroundStyle(), "solid");
  expectQuiet();
}

TEST_F(EditorWindowTest, OtherColourFillsTheCustomSwatchAndCancelChangesNothing) {
  nick().setText("abc");
  const std::string before = nick().textRtf();
  dialogs.queueColour(std::nullopt);
  editor.panelColorFG_solid_label.click();
  EXPECT_EQ(nick().textRtf(), before);
  EXPECT_EQ(editor.panelColorFG_solid_rect[0].backColour(), kWhite);
  EXPECT_EQ(editor.btnFG_rect.backColour(), kBlack);
  EXPECT_EQ(editor.lastTextStyle(), "");

  const ColourNumber chosen = makeColour(0x12, 0x34, 0x56);
  dialogs.queueColour(chosen);
  editor.panelColorFG_solid[EditorWindow::kOtherColourFrame].click();
  EXPECT_EQ(editor.panelColorFG_solid_rect[0].backColour(), chosen);
  EXPECT_EQ(editor.btnFG_rect.backColour(), chosen);
  EXPECT_EQ(textColours(nick()), all(3, chosen));
  EXPECT_EQ(editor.lastTextStyle(), "solid");
}

TEST_F(EditorWindowTest, PresetThreeOverAFiveCharacterSelectionMirrorsTheGradient) {
  editor.registerDrawing();
  drawing.render();
  nick().setText("abcdefg");
  nick().select(1, 5);
  editor.panelColorFG_grad[2].click();
  const ColourNumber between = makeColour(0, 64, 191);  // halfway, blue truncated from 191.5
  EXPECT_EQ(textColours(nick()),
            (std::vector<BoxColour>{kBlack, kNavy, between, kLightBlue, between, kNavy, kBlack}));
  EXPECT_EQ(editor.lastTextStyle(), "grad3");
  EXPECT_EQ(nick().selStart(), 1);
  // The tab's swatch shows the preset: navy at the edge, light blue in the middle.
  const gdi::Image* swatch = drawing.imageFor(editor.btnFG_rect, editor.paintStyles());
  ASSERT_NE(swatch, nullptr);
  EXPECT_EQ(swatch->pixel(0, 0), kNavy);
  EXPECT_EQ(swatch->pixel(gdi::roundHalfToEven(swatch->width(), 2), 0), kLightBlue);
  expectQuiet();
}

TEST_F(EditorWindowTest, PresetsWithoutSelectionOrWithAllColourTheWholeText) {
  for (int preset = 1; preset <= 4; ++preset) {
    nick().setText("Gradient");
    nick().setSelStart(3);
    editor.panelColorFG_grad_rect[static_cast<std::size_t>(preset - 1)].click();  // the preview is the button
    EXPECT_EQ(textColours(nick()), gradientColours(8, preset, kNavy, kLightBlue)) << preset;
    EXPECT_EQ(nick().selStart(), 3);
  }
  editor.chk_all.setChecked(true);
  nick().select(2, 2);
  editor.panelColorFG_grad[1].click();
  EXPECT_EQ(textColours(nick()), gradientColours(8, 2, kNavy, kLightBlue));
  editor.chk_BG.click();
  editor.panelColorBG_grad[0].click();
  EXPECT_EQ(backgrounds(nick()), gradientColours(8, 1, hex2rgb("#55AAFF"), hex2rgb("#D5EAFF"), 2));
  EXPECT_EQ(editor.lastBackgroundStyle(), "grad1");
}

TEST_F(EditorWindowTest, NewGradientColourRedrawsThePreviewsButNotTheText) {
  editor.registerDrawing();
  drawing.render();
  nick().setText("abcdef");
  editor.panelColorFG_grad[0].click();
  const std::string text = nick().textRtf();
  const gdi::Image before = *drawing.previewImage(gdi::PreviewSet::EditorText, 1);
  dialogs.queueColour(std::nullopt);
  editor.panelColorFG_grad1.click();
  EXPECT_EQ(editor.panelColorFG_grad1_rect.backColour(), kNavy);
  EXPECT_EQ(*drawing.previewImage(gdi::PreviewSet::EditorText, 1), before);

  dialogs.queueColour(kRed);
  editor.panelColorFG_grad1_rect.click();  // the swatch inside is the button
  EXPECT_EQ(editor.panelColorFG_grad1_rect.backColour(), kRed);
  for (int preset = 1; preset <= 4; ++preset) {
    const gdi::Image& preview = *drawing.previewImage(gdi::PreviewSet::EditorText, preset);
    EXPECT_EQ(preview.pixel(0, 0), preset % 2 ? kRed : kLightBlue) << preset;
  }
  EXPECT_EQ(nick().textRtf(), text);
  editor.panelColorFG_grad[0].click();  // the next preset takes the new colour
  EXPECT_EQ(textColours(nick()).front(), BoxColour{kRed});
}

TEST_F(EditorWindowTest, UntickingBackgroundRemovesEveryBackgroundAndShowsTheTextTab) {
  nick().setText("abcd");
  editor.chk_BG.click();
  editor.btnBG.press();
  editor.panelColorBG_solid[7].click();
  ASSERT_EQ(backgrounds(nick()), all(4, kYellow));
  nick().setSelStart(2);
  editor.chk_BG.click();
  EXPECT_EQ(backgrounds(nick()), all(4, kWhite));
  EXPECT_EQ(nick().selStart(), 2);
  EXPECT_TRUE(editor.panelColorFG.visible() && !editor.panelColorBG.visible());
  EXPECT_EQ(editor.btnFG.top(), 1665);
  EXPECT_FALSE(editor.btnBG.enabled() || editor.btnBG.label().enabled());
}

TEST_F(EditorWindowTest, TickingAllReappliesTheLastStylesToTheWholeText) {
  nick().setText("abcdef");
  editor.chk_all.click();  // no style yet: nothing
  EXPECT_EQ(textColours(nick()), all(6, kBlack));
  editor.chk_all.click();
  nick().select(0, 2);
  editor.panelColorFG_solid[5].click();
  editor.chk_BG.click();
  editor.panelColorBG_grad[2].click();  // the selection only
  ASSERT_EQ(textColours(nick())[3], BoxColour{kBlack});
  editor.chk_all.click();
  EXPECT_EQ(textColours(nick()), all(6, kRed));
  EXPECT_EQ(backgrounds(nick()).back(), BoxColour{hex2rgb("#55AAFF")});
}

TEST_F(EditorWindowTest, TypingWithAllTickedReappliesTheStylesAndKeepsTheCaret) {
  nick().setText("Hello");
  editor.chk_all.click();
  editor.panelColorFG_grad[0].click();
  editor.chk_BG.click();
  editor.panelColorBG_solid[7].click();
  nick().setSelStart(2);
  nick().replaceSelection("XYZ");  // typed at the caret
  EXPECT_EQ(nick().text(), "HeXYZllo");
  EXPECT_EQ(textColours(nick()), gradientColours(8, 1, kNavy, kLightBlue));
  EXPECT_EQ(backgrounds(nick()), all(8, kYellow));
  EXPECT_EQ(nick().selStart(), 5);

  // With chk_BG unticked only the text style comes back.
  editor.chk_BG.setChecked(false);
  nick().select(0, 1);
  nick().setSelBackColor(std::nullopt);
  nick().setSelStart(5);
  nick().replaceSelection("!");
  EXPECT_EQ(textColours(nick()), gradientColours(9, 1, kNavy, kLightBlue));
  EXPECT_EQ(backgrounds(nick()).front(), std::nullopt);
  expectQuiet();
}

TEST_F(EditorWindowTest, HooksButtonLooksAndWorkingBoxes) {
  editor.btnPrefs.label().click();
  editor.btnAbout.click();
  editor.btnHelp.click();
  editor.btnHelp_Click();
  EXPECT_EQ(prefsShown + 10 * aboutShown + 100 * helpShown, 211);

  editor.registerDrawing();
  const int labelTop = editor.btnOK.label().top();
  editor.btnOK.label().press();
  EXPECT_EQ(editor.btnOK.label().top(), labelTop + 15);
  editor.btnOK.release();
  EXPECT_EQ(editor.btnOK.label().top(), labelTop);
  const int swatchLeft = editor.panelColorFG_solid_rect[3].left();
  editor.panelColorFG_solid_rect[3].press();
  EXPECT_EQ(editor.panelColorFG_solid_rect[3].left(), swatchLeft + 15);
  editor.panelColorFG_solid[3].release();
  EXPECT_EQ(editor.panelColorFG_solid_rect[3].left(), swatchLeft);

  editor.chk_noEnd.setChecked(true);
  engine::ConversionContext ctx = editor.conversionContext();
  EXPECT_EQ(&ctx.scratch, &editor.rtf_mask.box());
  EXPECT_TRUE(ctx.noEnd);
  EXPECT_EQ(ctx.mode, 1);
}

// The editor's preset 1 over the whole text, background off, gives what direct colouring
// gives with a gradient type 1 preset of the editor's two starting colours.
TEST_F(EditorWindowTest, GradientPresetOneMatchesDirectColouring) {
  for (const char* typed : {"Hello", "Tessalune rocks", "x", "a longer nickname with spaces :)"}) {
    SCOPED_TRACE(typed);
    nick().setText(typed);
    editor.panelColorFG_grad[0].click();
    editor.setVisible(true);
    editor.btnOK.click();
    EXPECT_FALSE(editor.visible());

    engine::StylePreset preset;
    preset.FGtype = 2;
    preset.FGgradtype = 1;
    preset.FGgrad1 = editor.panelColorFG_grad1_rect.backColour();
    preset.FGgrad2 = editor.panelColorFG_grad2_rect.backColour();
    preset.BGtype = 0;
    EXPECT_EQ(preset.FGgrad1, hex2rgb("#000080"));
    EXPECT_EQ(preset.FGgrad2, hex2rgb("#0080FF"));
    engine::RichTextBox autoBox, scratch;
    engine::ConversionContext ctx{1, false, dialogs, messages, failures.context, lifecycle, scratch};
    const std::string direct = engine::colourArgument(typed, preset, autoBox, ctx);
    EXPECT_FALSE(direct.empty());
    EXPECT_EQ(codedResult, direct);
  }
  expectQuiet();
}

}  // namespace
}  // namespace tessalune::ui
