#include <gtest/gtest.h>

#include "engine/rich_text_box.h"

namespace tessalune::engine {
namespace {

using namespace std::string_literals;

const std::string kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n";
const std::string kStart = "\\viewkind4\\uc1\\pard\\lang1033\\fs20";
const std::string kEnd = "\\par\r\n}\r\n\0"s;

constexpr ColourNumber kRed = 0x0000FF;
constexpr ColourNumber kBlue = 0xFF0000;
constexpr ColourNumber kYellow = 0x00FFFF;

TEST(RtfWriter, WritesColoursBackgroundsAndTogglesInTheHouseOrder) {
  RichTextBox box;
  box.setText("ab");
  box.select(0, 1);
  box.setSelColor(kRed);
  box.select(1, 1);
  box.setSelColor(kBlue);
  box.setSelBackColor(kYellow);
  box.setSelBold(true);
  EXPECT_EQ(
      box.textRtf(),
      kHeader +
          "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}\r\n" +
          kStart + "\\cf1 a\\cf2\\highlight3\\b b\\cf0\\highlight0\\b0" + kEnd);
}

TEST(RtfWriter, EveryToggleOnAndOff) {
  RichTextBox box;
  box.setText("abc");
  box.select(1, 1);
  box.setSelItalic(true);
  box.setSelUnderline(true);
  box.setSelStrikeThru(true);
  EXPECT_EQ(box.textRtf(), kHeader + kStart + " a\\i\\ul\\strike b\\i0\\ulnone\\strike0 c" + kEnd);
}

TEST(RtfWriter, TheSameColourAsTextAndBackgroundIsOneEntry) {
  RichTextBox box;
  box.setText("a");
  box.select(0, 1);
  box.setSelColor(kRed);
  box.setSelBackColor(kRed);
  EXPECT_EQ(box.textRtf(), kHeader + "{\\colortbl ;\\red255\\green0\\blue0;}\r\n" + kStart +
                               "\\cf1\\highlight1 a\\cf0\\highlight0" + kEnd);
}

// Plain text has no colour table and a space after the size.
TEST(RtfWriter, EscapesAndCharacterSets) {
  struct Case {
    std::string text;
    std::string body;
  };
  const Case cases[] = {
      {"a\\b{c}", " a\\\\b\\{c\\}"},
      {"\u00E9\u00B7\u20AC", "\\'e9\\'b7\\'80"},
      {"x\u4E2D", " x\\u20013?"},
      {"\U0001F600", "\\u-10179?\\u-8704?"},
      {"a\tb\x01", " a\\'09b\\'01"},
      {"\\", "\\\\"},
      {"Hi", " Hi"},
      {"", ""},
  };
  for (const Case& c : cases) {
    RichTextBox box;
    box.setText(c.text);
    EXPECT_EQ(box.textRtf(), kHeader + kStart + c.body + kEnd) << c.text;
  }
}

TEST(RtfWriter, LineBreaksAreParagraphsAndCarryNoFormat) {
  RichTextBox box;
  box.setText("a\nb\r\nc");
  box.select(0, box.length());
  box.setSelColor(kRed);
  EXPECT_EQ(box.text(), "a\r\nb\r\nc");
  EXPECT_EQ(box.textRtf(), kHeader + "{\\colortbl ;\\red255\\green0\\blue0;}\r\n" + kStart +
                               "\\cf1 a\\par\r\nb\\par\r\nc\\cf0" + kEnd);
}

}  // namespace
}  // namespace tessalune::engine
