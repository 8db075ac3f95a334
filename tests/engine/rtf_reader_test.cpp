#include <gtest/gtest.h>

#include "engine/plus2rtf.h"
#include "engine/rich_text_box.h"

namespace tessalune::engine {
namespace {

constexpr ColourNumber kRed = 0x0000FF;

StyledText read(const std::string& rtf) {
  return readRtf(rtf);
}

std::string plain(const StyledText& text) {
  RichTextBox box;
  box.setTextRtf(writeRtf(text));
  return box.text();
}

TEST(RtfReader, ReadsWhatPlus2RtfWrites) {
  const StyledText text = read(plus2rtf("\u00B7#\u00B7$4,12a\u00B7#b\r\nc\u00E9"));
  ASSERT_EQ(plain(text), "ab\r\nc\u00E9");
  EXPECT_TRUE(text[0].format.bold);
  EXPECT_EQ(text[0].format.textColour, kRed);
  EXPECT_EQ(text[0].format.background, 0xFF0000u);
  EXPECT_FALSE(text[1].format.bold);
  EXPECT_EQ(text[1].format.textColour, kRed);
}

TEST(RtfReader, TheLastParagraphMarkEndsTheDocument) {
  EXPECT_EQ(plain(read("{\\rtf1 a\\par\r\n}")), "a");
  EXPECT_EQ(plain(read("{\\rtf1 a\\par\\par }")), "a\r\n");
  EXPECT_EQ(plain(read("{\\rtf1 a\\par b}")), "a\r\nb");
}

// Unknown words and destinations are skipped; Unicode escapes and surrogate pairs read.
TEST(RtfReader, SkipsUnknownWordsAndDestinations) {
  const StyledText text =
      read("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\generator Foo;}{\\info{\\title T}}\\foo12 \\bar a{\\b b}c}");
  EXPECT_EQ(plain(text), "abc");
  EXPECT_TRUE(text[1].format.bold);
  EXPECT_FALSE(text[2].format.bold);
  EXPECT_EQ(plain(read("{\\rtf1\\uc1 \\u20013?\\u-10179?\\u-8704?\\'e9}")), "\u4E2D\U0001F600\u00E9");
}

TEST(RtfReader, ColourOutsideTheTableIsAutomatic) {
  const StyledText text = read("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 a\\cf7 b\\highlight9 c}");
  EXPECT_EQ(text[0].format.textColour, kRed);
  EXPECT_EQ(text[1].format.textColour, std::nullopt);
  EXPECT_EQ(text[2].format.background, std::nullopt);
}

TEST(RtfReader, MalformedInputLoadsAsFarAsItCanBeRead) {
  EXPECT_EQ(plain(read("{\\rtf1 abc\\")), "abc");
  EXPECT_EQ(plain(read("{\\rtf1 a{{{b")), "ab");
  EXPECT_EQ(plain(read("{\\rtf1 a}trailing")), "a");
  EXPECT_EQ(plain(read("{\\rtf1 \\'zz\\'4")), "zz4");
  EXPECT_EQ(plain(read("{\\rtf1 \\cf99999999999999 x}")), "x");
  EXPECT_EQ(plain(read("{\\rtf1" + std::string(100000, '{') + "deep")), "deep");
  EXPECT_EQ(plain(read("just\ntext")), "just\r\ntext");  // not RTF: plain text
}

TEST(RtfRoundTrip, WritingAndReadingKeepsCharactersAndFormats) {
  RichTextBox box;
  box.setText("H\u00E9llo {w\\rld} \U0001F600\r\nline\u00B7two\u20AC");
  for (int i = 0; i < box.length(); ++i) {
    box.select(i, 1);
    box.setSelColor(makeColour(i * 7 % 256, i * 13 % 256, i * 29 % 256));
    if (i % 3 == 0) box.setSelBackColor(makeColour(i, 0, 255 - i));
    box.setSelBold(i % 2 == 0);
    box.setSelItalic(i % 5 == 0);
    box.setSelUnderline(i % 4 == 1);
    box.setSelStrikeThru(i % 7 == 2);
  }
  RichTextBox copy;
  copy.setTextRtf(box.textRtf());
  ASSERT_EQ(copy.text(), box.text());
  for (std::size_t i = 0; i < box.characters().size(); ++i) {
    if (isLineBreakChar(box.characters()[i].ch)) continue;
    EXPECT_EQ(copy.characters()[i], box.characters()[i]) << i;
  }
  EXPECT_EQ(copy.textRtf(), box.textRtf());

  RichTextBox direct;
  direct.copyTextRtfFrom(box);
  EXPECT_EQ(direct.characters(), copy.characters());
}

// The direct copy gives what the RTF round trip gives, also where the RTF changes the text.
TEST(RtfRoundTrip, DirectCopyEqualsTheRoundTripWhereTheRtfChangesTheText) {
  const CharFormat red{kRed, std::nullopt, true};
  const CharFormat wide{ColourNumber{0x80000008}, ColourNumber{0x01FFFFFF}};
  const std::vector<StyledText> texts = {
      {{U'a', red}, {U'\r', {}}, {U'\n', {}}, {U'b', {}}},  // breaks take the format before them
      {{U'a', red}, {U'\r', red}, {U'b', {}}},              // a lone CR becomes a line break
      {{U'\n', red}, {U'a', {}}},
      {{U'a', red}, {char32_t{0xD800}, red}, {U'b', {}}},  // a lone surrogate is dropped
      {{U'a', wide}, {U'b', {}}},                          // colours keep 24 bits
      {{U'\0', red}, {U'\t', {}}, {char32_t{0x81}, red}}};
  for (const StyledText& text : texts) {
    RichTextBox box, viaRtf, direct;
    box.setCharacters(text, 0);
    viaRtf.setTextRtf(box.textRtf());
    direct.copyTextRtfFrom(box);
    EXPECT_EQ(direct.characters(), viaRtf.characters()) << box.textRtf();
  }
}

TEST(RtfRoundTrip, AutomaticColoursStayAutomatic) {
  RichTextBox box;
  box.setText("ab");
  box.select(1, 1);
  box.setSelColor(kRed);
  RichTextBox copy;
  copy.setTextRtf(box.textRtf());
  copy.select(0, 1);
  const BoxColour automatic = copy.selColor();
  copy.select(1, 1);
  copy.setSelColor(automatic);
  EXPECT_EQ(copy.characters()[1].format.textColour, std::nullopt);
}

}  // namespace
}  // namespace tessalune::engine
