#include "engine/plus2rtf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tessalune::engine {
namespace {

const std::string kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n";
const std::string kWhite = "\\red255\\green255\\blue255;";

std::string document(const std::string& tableEntries, const std::string& body) {
  return kHeader + "{\\colortbl ;" + kWhite + tableEntries +
         "}\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 " + body + "\r\n\\par }";
}

struct Case {
  const char* name;
  const char* plus;
  const char* table;
  const char* body;
};

class Plus2RtfCases : public ::testing::TestWithParam<Case> {};

TEST_P(Plus2RtfCases, WritesTheDocument) {
  EXPECT_EQ(plus2rtf(GetParam().plus), document(GetParam().table, GetParam().body));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Plus2RtfCases,
    ::testing::Values(
        Case{"WorkedExample", "\u00B7#\u00B7$2a\u00B7$#0080FFb\u00B70",
             "\\red0\\green0\\blue128;\\red0\\green128\\blue255;",
             "\\b \\cf2 a\\cf3 b\\b0 \\cf0\\highlight0"},
        Case{"EmptyText", "", "", "\\cf0\\highlight0"},
        Case{"WhiteUsesTheFirstEntry", "\u00B7$#FFFFFFa", "", "\\cf1 a\\cf0\\highlight0"},
        Case{"OneEntryPerColour", "\u00B7$4a\u00B7$4b\u00B7$#FF0000c", "\\red255\\green0\\blue0;",
             "\\cf2 a\\cf2 b\\cf2 c\\cf0\\highlight0"},
        Case{"PaletteTextOnPaletteBackground", "\u00B7$4,12x",
             "\\red255\\green0\\blue0;\\red0\\green0\\blue255;", "\\cf2 \\highlight3 x\\cf0\\highlight0"},
        Case{"HexTextOnPaletteBackground", "\u00B7$#123456,15x",
             "\\red18\\green52\\blue86;\\red192\\green192\\blue192;",
             "\\cf2 \\highlight3 x\\cf0\\highlight0"},
        Case{"BackgroundOnly", "\u00B7$,#00FF00y\u00B7$,9z", "\\red0\\green255\\blue0;",
             "\\highlight2 y\\highlight2 z\\cf0\\highlight0"},
        Case{"TwoDigitIndexBeforeOneDigit", "\u00B7$15a\u00B7$1b",
             "\\red192\\green192\\blue192;\\red0\\green0\\blue0;", "\\cf2 a\\cf3 b\\cf0\\highlight0"},
        Case{"LowerCaseHexIsAccepted", "\u00B7$#ff8000a", "\\red255\\green128\\blue0;",
             "\\cf2 a\\cf0\\highlight0"},
        Case{"InvalidHexPairsCountAsZero", "\u00B7$#GG80ZZa", "\\red0\\green128\\blue0;",
             "\\cf2 a\\cf0\\highlight0"},
        Case{"DotAtTheEndDisappears", "ab\u00B7", "", "ab\\cf0\\highlight0"},
        Case{"UnknownCodeDropsOnlyTheDot", "\u00B7xy\u00B7$zz", "", "xy$zz\\cf0\\highlight0"},
        Case{"ResetWithoutFlagsWritesNothing", "a\u00B70b", "", "ab\\cf0\\highlight0"},
        Case{"ResetSwitchesFlagsOffInOrder", "\u00B7'\u00B7#x\u00B70", "",
             "\\strike \\b x\\b0 \\strike0 \\cf0\\highlight0"},
        Case{"TogglesStillOnAreClosedWithoutSpaces", "\u00B7#\u00B7&\u00B7@\u00B7'x", "",
             "\\b \\i \\ul \\strike x\\b0\\i0\\ul0\\strike0\\cf0\\highlight0"},
        Case{"SecondToggleSwitchesOff", "\u00B7&a\u00B7&b", "", "\\i a\\i0 b\\cf0\\highlight0"},
        Case{"RtfCharactersAreEscaped", "a\\b{c}", "", "a\\\\b\\{c\\}\\cf0\\highlight0"},
        Case{"LineBreaksOpenParagraphs", "a\r\nb\r\n", "", "a\r\n\\par b\r\n\\par \\cf0\\highlight0"},
        Case{"NonAsciiIsKeptAndAStrayDotDropped", "\u00E9\u00B7\U0001F600", "",
             "\u00E9\U0001F600\\cf0\\highlight0"},
        Case{"TruncatedColourAtTheEnd", "\u00B7$#FF", "\\red0\\green0\\blue255;", "\\cf2 \\cf0\\highlight0"}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

// Written in blocks as it is made, the document is the same bytes as the one returned whole,
// whether a block ends inside a colour table, a code's words or a long run of text.
TEST(Plus2Rtf, WrittenInPartsIsTheSameDocument) {
  std::string plus(100000, 'x');
  for (int i = 0; plus.size() < 300000; ++i) {
    char code[24];
    std::snprintf(code, sizeof code, "\u00B7$#%06X,#%06X\u00B7#", i * 7919 % 0xFFFFFF, i);
    plus += code + std::string(i % 5, 'y');
  }
  std::string parts;
  int count = 0;
  plus2rtf(plus, [&](std::string_view part) {
    parts += part;
    ++count;
  });
  EXPECT_GT(count, 2);
  EXPECT_EQ(parts, plus2rtf(plus));
}

}  // namespace
}  // namespace tessalune::engine
