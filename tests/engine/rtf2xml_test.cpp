#include "engine/rtf2xml.h"

#include <gtest/gtest.h>

#include "engine/direct_colouring.h"
#include "engine/gradient.h"
#include "engine/side_style.h"
#include "engine/utf8.h"
#include "engine/xml2plus.h"
#include "platform/scripted_dialogs.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"
#include "support/recording_lifecycle.h"

namespace tessalune::engine {
namespace {

using platform::Answer;
using platform::Icon;

constexpr ColourNumber kRed = 0x0000FF;
constexpr ColourNumber kBlue = 0xFF0000;

class Rtf2XmlTest : public ::testing::Test {
 protected:
  static std::string document(const std::string& body) { return "<nick>\r\n" + body + "\r\n</nick>"; }
  static std::string fg(const std::string& colour) { return "<FG color=\"" + colour + "\"/>"; }
  static std::string bg(const std::string& colour) { return "<BG color=\"" + colour + "\"/>"; }
  ConversionContext context(EditorMode mode = EditorMode::Nickname, bool noEnd = false) {
    return ConversionContext{mode, noEnd, dialogs, messages, failures.context, lifecycle, scratch};
  }
  std::string convert(std::int16_t flag = 0, EditorMode mode = EditorMode::Nickname, bool noEnd = false) {
    ConversionContext ctx = context(mode, noEnd);
    return rtf2xml(box, flag, ctx);
  }
  void colourEach(const std::vector<ColourNumber>& colours) {
    for (std::size_t i = 0; i < colours.size(); ++i) {
      box.select(static_cast<int>(i), 1);
      box.setSelColor(colours[i]);
    }
  }
  void gradient(GradientKind kind, PaintTarget target, ColourNumber from, ColourNumber to) {
    PaintContext paint{scratch, failures.context};
    doGradient(box, 0, box.length(), from, to, box.length(), kind, target, paint);
  }
  // The markup fitted to a target whose text is the Plus! text, measured in the fit's unit.
  std::string convertFitted(std::size_t limit, LengthFit::Unit unit, std::int16_t flag = 0) {
    const LengthFit fit{unit, limit, [unit](std::string_view plus) {
                          return unit == LengthFit::Unit::Utf8Bytes ? plus.size() : countChars(plus);
                        }};
    ConversionContext ctx = context(EditorMode::Nickname, true);
    ctx.fit = &fit;
    return rtf2xml(box, flag, ctx);
  }
  std::string lastMessage() const { return dialogs.shown().empty() ? "" : dialogs.shown().back().text; }

  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  testing::RecordingLifecycle lifecycle;
  RichTextBox box{"rtf_nick"};
  RichTextBox scratch{"rtf_mask"};
};

TEST_F(Rtf2XmlTest, RefusesAnEmptyTextAndFocusesTheBox) {
  EXPECT_EQ(convert(), "");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, "You must type a nick.");
  EXPECT_EQ(dialogs.shown()[0].icon, Icon::Critical);
  EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");
  EXPECT_TRUE(box.hasFocus());
  EXPECT_EQ(convert(0, EditorMode::Text), "");
  EXPECT_EQ(lastMessage(), "You must type a message.");
}

TEST_F(Rtf2XmlTest, LimitsCountCharacters) {
  box.setText(std::string(129, 'a'));
  EXPECT_NE(convert(0, EditorMode::Nickname, true), "");
  box.setText(std::string(130, 'a'));
  EXPECT_EQ(convert(), "");
  EXPECT_EQ(lastMessage(), "The nickname is too long. Please choose another one.");
  EXPECT_EQ(dialogs.shown().back().icon, Icon::Exclamation);

  box.setText(std::string(1100, 'a'));
  EXPECT_NE(convert(0, EditorMode::Text), "");
  box.setText(std::string(1101, 'a'));
  EXPECT_EQ(convert(0, EditorMode::Text), "");
  EXPECT_EQ(lastMessage(), "The message is too long (>1100 characters).");

  box.setText("\u00E9" + std::string(128, 'a'));  // 129 characters, 130 bytes
  EXPECT_NE(convert(0, EditorMode::Nickname, true), "");
}

// Another target's limit counts in its own unit, first the plain text, then the written
// text; the colours are thinned as for Plus! codes and the same question is asked.
TEST_F(Rtf2XmlTest, AFitCountsItsOwnUnitAndNamesItsLimit) {
  using Unit = LengthFit::Unit;
  const std::string e = "\u00E9";  // two bytes
  struct Case {
    std::string text;
    Unit unit;
    std::size_t limit;
    int style;         // 0 none, 1 one colour, 2 bold
    std::string plus;  // "" when refused
    std::string said;  // the one message shown, if any
  };
  const auto times = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  const Case cases[] = {
      {times(e, 10), Unit::Utf8Bytes, 20, 0, times(e, 10), ""},
      {times(e, 11), Unit::Utf8Bytes, 20, 0, "",
       "The text is too long for this target (more than 20 bytes)."},
      {times(e, 20), Unit::Characters, 20, 0, times(e, 20), ""},
      {times(e, 21), Unit::Characters, 20, 0, "",
       "The text is too long for this target (more than 20 characters)."},
      // "·$4" is 4 bytes: the colour goes, with the question.
      {times(e, 8), Unit::Utf8Bytes, 19, 1, times(e, 8),
       "The nickname is too long to be colored. Do you want to keep it nonetheless?"},
      {times(e, 8), Unit::Utf8Bytes, 20, 1, "\u00B7$4" + times(e, 8), ""},
      // Uncoloured and still too long: refused, naming the limit.
      {times(e, 9), Unit::Utf8Bytes, 19, 2, "",
       "The text is too long for this target (more than 19 bytes), or change text formatting."},
      // No limit of its own: only a gradient's reach.
      {std::string(300, 'a'), Unit::Characters, 0, 1, "\u00B7$4" + std::string(300, 'a'), ""},
      {std::string(40000, 'a'), Unit::Utf8Bytes, 0, 0, "",
       "The text is too long for this target (more than 32767 characters)."},
  };
  for (const Case& c : cases) {
    box = RichTextBox{"rtf_nick"};
    box.setText(c.text);
    box.select(0, box.length());
    if (c.style == 1) box.setSelColor(kRed);
    if (c.style == 2) box.setSelBold(true);
    const std::string markup = convertFitted(c.limit, c.unit);  // a question is answered yes
    EXPECT_EQ(markup.empty() ? "" : xml2plus(markup), c.plus) << c.said;
    EXPECT_EQ(dialogs.shown().size(), c.said.empty() ? 0u : 1u) << c.said;
    EXPECT_EQ(lastMessage(), c.said);
    dialogs.clear();
  }
}

TEST_F(Rtf2XmlTest, WritesMarkersForColoursTogglesSpacesAndTheEnd) {
  box.setText("ab c");
  colourEach({kRed, kRed, kBlue, kBlue});
  box.select(1, 1);
  box.setSelBold(true);
  EXPECT_EQ(convert(), document(fg("#FF0000") + "a<b/>b<b/><space/>" + fg("#0000FF") + "c<end/>"));
  EXPECT_EQ(convert(0, EditorMode::Nickname, true),
            document(fg("#FF0000") + "a<b/>b<b/><space/>" + fg("#0000FF") + "c"));
  EXPECT_EQ(convert(0, EditorMode::Text),
            document(fg("#FF0000") + "a<b/>b<b/><space/>" + fg("#0000FF") + "c"));
}

// A space takes the colour of the character before it, so no colour code precedes it; a
// leading space stays a space. The box itself is untouched.
TEST_F(Rtf2XmlTest, SpacesTakeTheColourOfTheCharacterBeforeThem) {
  box.setText("a b");
  gradient(GradientKind::Linear, PaintTarget::Text, kRed, kBlue);
  EXPECT_EQ(xml2plus(convert()), "\u00B7$4a \u00B7$12b\u00B70");
  EXPECT_EQ(box.characters()[1].format.textColour, makeColour(127, 0, 127));
  box.setText(" a");
  colourEach({kRed, kBlue});
  EXPECT_EQ(xml2plus(convert()), "\u00B7$4 \u00B7$12a\u00B70");
}

// Emoticons and typed Plus! codes get the colours of their first character throughout, so
// no colour code falls inside them.
TEST_F(Rtf2XmlTest, EmoticonsAndTypedCodesKeepOneColour) {
  for (const auto& [text, plus] :
       {std::pair{"x:-)y", "\u00B7$1x\u00B7$#0A0000:-)\u00B7$#280000y\u00B70"},
        std::pair{"a(brb)", "\u00B7$1a\u00B7$#0A0000(brb)\u00B70"},
        std::pair{"a\u00B7#b", "\u00B7$1a\u00B7$#0A0000\u00B7#\u00B7$#1E0000b\u00B70"}}) {
    box.setText(text);
    gradient(GradientKind::Linear, PaintTarget::Text, 0x000000,
             makeColour(static_cast<int>(10 * (box.length() - 1)), 0, 0));
    EXPECT_EQ(xml2plus(convert()), plus) << text;
  }
}

TEST_F(Rtf2XmlTest, BackgroundsNeedTheFlag) {
  box.setText("ab");
  box.select(0, 2);
  box.setSelColor(kRed);
  SetSelBackColor(kBlue, box);
  box.select(1, 1);
  SetSelBackColor(ColourNumber{0xFFFFFF}, box);
  EXPECT_EQ(convert(1), document(fg("#FF0000") + bg("#0000FF") + "a" + bg("#FFFFFF") + "b<end/>"));
  EXPECT_EQ(convert(0), document(fg("#FF0000") + "ab<end/>"));
}

TEST_F(Rtf2XmlTest, TwoDigitColourNumbersConsumeTheirSpace) {
  std::vector<ColourNumber> colours;
  for (int i = 0; i < 12; ++i) colours.push_back(makeColour(i, 0, 0));
  box.setText("abcdefghijkl");
  colourEach(colours);
  const std::string markup = convert(0, EditorMode::Text);
  EXPECT_NE(markup.find(fg("#0B0000") + "l\r\n"), std::string::npos) << markup;
}

// Typed backslashes, braces and markup stay text; typed legacy control characters become
// their toggles (the colour one vanishes), other controls vanish; line breaks become CR LF.
TEST_F(Rtf2XmlTest, TypedTextIsNeverReadAsRtf) {
  for (const auto& [text, plus] :
       {std::pair{"C:\\bin \\b0 \\cf1 {x}", "C:\\bin \\b0 \\cf1 {x}"}, std::pair{"\\'e9\\\\", "\\'e9\\\\"},
        std::pair{"a\002b\037c\003d\017e", "a\u00B7#b\u00B7@cd\u00B70e"}, std::pair{"a\tb\001c", "abc"},
        std::pair{"\u00E9\u20AC\u4E2D\U0001F600\u00B7", "\u00E9\u20AC\u4E2D\U0001F600\u00B7"},
        std::pair{"<b>&amp;</b>", "<b>&amp;</b>"}, std::pair{"one\ntwo\r\n", "one\r\ntwo\r\n"},
        std::pair{"a\uE000b\\c", "a\uE000b\\c"},  // the private placeholder of a backslash, typed
        std::pair{"x\uFFFEy\uFFFFz", "xyz"}}) {   // characters XML cannot hold
    box.setText(text);
    EXPECT_EQ(xml2plus(convert(0, EditorMode::Text)), plus) << text;
    EXPECT_TRUE(lifecycle.calls.empty()) << text;
  }
}

TEST_F(Rtf2XmlTest, ThinningKeepsTheFirstColourAndFits) {
  box.setText(std::string(40, 'x'));
  gradient(GradientKind::Linear, PaintTarget::Text, 0x000000,
           makeColour(0, 0, 39));  // forty different colours
  const std::string plus = xml2plus(convert());
  EXPECT_LE(countChars(plus), 129u);
  EXPECT_TRUE(plus.starts_with("\u00B7$1x")) << plus;
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Rtf2XmlTest, ATextThatFitsOnceUncolouredIsOfferedNotRefused) {
  box.setText(std::string(125, 'n'));
  box.select(0, 125);
  box.setSelColor(makeColour(0x12, 0x34, 0x56));
  dialogs.queueAnswer(Answer::Yes);
  EXPECT_EQ(xml2plus(convert()), std::string(125, 'n') + "\u00B70");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text,
            "The nickname is too long to be colored. Do you want to keep it nonetheless?");
  EXPECT_EQ(dialogs.shown()[0].buttons, platform::Buttons::YesNo);
  dialogs.queueAnswer(Answer::No);
  EXPECT_EQ(convert(), "");
}

TEST_F(Rtf2XmlTest, ATextThatCannotFitIsRefusedWithoutAQuestion) {
  box.setText(std::string(129, 'b'));
  for (int i = 0; i < 129; i += 2) {
    box.select(i, 1);
    box.setSelBold(true);
  }
  EXPECT_EQ(convert(), "");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text,
            "The nickname is too long. Please choose another one, or change text formatting.");
  box.select(0, 1);
  box.setSelColor(kRed);  // one colour marker does not change the outcome
  EXPECT_EQ(convert(), "");
  EXPECT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[1].buttons, platform::Buttons::Ok);
}

TEST_F(Rtf2XmlTest, TheWatchdogAsksAfterItsThresholdAndStopsOnNo) {
  // Every character its own text and background colour: over 2000 markers to thin.
  box.setText(std::string(1100, 'm'));
  for (int i = 0; i < 1100; ++i) {
    box.select(i, 1);
    box.setSelColor(makeColour(i % 256, i / 256, 7));
    SetSelBackColor(makeColour(7, i % 256, i / 256), box);
  }
  dialogs.queueAnswer(Answer::Yes);
  dialogs.queueAnswer(Answer::No);
  const std::string markup = convert(1, EditorMode::Text);
  ASSERT_GE(dialogs.shown().size(), 3u);
  EXPECT_EQ(
      dialogs.shown()[0].text,
      "The function did more than 1000 loops. Tessalune may be unstable now; do you want to wait 100 loops "
      "more?");
  EXPECT_EQ(dialogs.shown()[0].title, "Tessalune - Anti-crash");
  EXPECT_NE(dialogs.shown()[1].text.find("1100 loops"), std::string::npos);
  EXPECT_TRUE(dialogs.shown()[2].text.starts_with("The loop will now be stopped."));
  EXPECT_EQ(dialogs.shown()[2].icon, Icon::Critical);
  EXPECT_FALSE(markup.empty());  // the markup as it stood, still too long
}

TEST_F(Rtf2XmlTest, DirectColouringGradientTypeTwoIsTypeOneWithTheColoursSwapped) {
  RichTextBox autoBox;
  ConversionContext ctx = context();
  StylePreset one;
  one.FGtype = StyleKind::Gradient;
  one.FGgradtype = GradientPreset::Grad1;
  one.FGgrad1 = kRed;
  one.FGgrad2 = kBlue;
  StylePreset two = one;
  two.FGgradtype = GradientPreset::Grad2;
  std::swap(two.FGgrad1, two.FGgrad2);
  EXPECT_EQ(colourArgument("Hello", one, autoBox, ctx), colourArgument("Hello", two, autoBox, ctx));
  EXPECT_EQ(colourArgument("H", one, autoBox, ctx), "\u00B7$4H\u00B70");

  StylePreset solid;
  solid.BGtype = StyleKind::Gradient;
  solid.BGgradtype = GradientPreset{0};  // no gradient option selected: the white of the reset stays
  EXPECT_EQ(colourArgument("ab", solid, autoBox, ctx), "\u00B7$1,0ab\u00B70");
}

// A gradient's positions are 16-bit: a text past them used to fail in doGradient as an
// unknown error before the conversion could say it was too long.
TEST_F(Rtf2XmlTest, DirectColouringRefusesATextTooLongForAGradientAsTooLong) {
  RichTextBox autoBox;
  StylePreset preset;
  preset.FGtype = StyleKind::Gradient;
  preset.FGgradtype = GradientPreset::Grad1;
  SideStyle grad3;
  grad3.kind = SideStyle::Kind::Preset;
  grad3.preset = GradientPreset::Grad3;
  const std::string text(40000, 'a');
  for (const EditorMode mode : {EditorMode::Nickname, EditorMode::Text}) {
    ConversionContext ctx = context(mode);
    const std::string expected = mode == EditorMode::Nickname
                                     ? "The nickname is too long. Please choose another one."
                                     : "The message is too long (>1100 characters).";
    EXPECT_EQ(colourArgument(text, preset, autoBox, ctx), "");
    EXPECT_EQ(lastMessage(), expected);
    EXPECT_EQ(colourWithStyles(text, grad3, SideStyle{}, autoBox, ctx), "");
    EXPECT_EQ(lastMessage(), expected);
  }
  EXPECT_TRUE(failures.report.reports.empty());
}

}  // namespace
}  // namespace tessalune::engine
