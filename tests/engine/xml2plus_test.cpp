#include "engine/xml2plus.h"

#include <gtest/gtest.h>

namespace tessalune::engine {
namespace {

struct Case {
  const char* name;
  const char* markup;
  const char* plus;
};

class Xml2PlusCases : public ::testing::TestWithParam<Case> {};

TEST_P(Xml2PlusCases, ProducesThePlusText) {
  EXPECT_EQ(xml2plus(GetParam().markup), GetParam().plus);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Xml2PlusCases,
    ::testing::Values(
        Case{"WorkedExample",
             "<nick>\r\n<b/><FG color=\"#000080\"/>a<FG color=\"#0080FF\"/>b<end/>\r\n</nick>",
             "\u00B7#\u00B7$2a\u00B7$#0080FFb\u00B70"},
        Case{"MergesABackgroundThatFollowsATextColour",
             "<nick><FG color=\"#000080\"/><BG color=\"#FFFF00\"/>a</nick>", "\u00B7$2,8a"},
        Case{"MergedDefaultsAreOneCode", "<FG color=\"#000000\"/><BG color=\"#FFFFFF\"/>x", "\u00B7$1,0x"},
        Case{"WhiteOnBlack", "<FG color=\"#FFFFFF\"/><BG color=\"#000000\"/>", "\u00B7$0,1"},
        Case{"LoneBackgroundIsACodeOfItsOwn", "a<BG color=\"#00FF00\"/>b", "a\u00B7$,9b"},
        Case{"BackgroundAfterTextIsNotMerged", "<FG color=\"#FF0000\"/>x<BG color=\"#123456\"/>y",
             "\u00B7$4x\u00B7$,#123456y"},
        Case{"NonPaletteMergedPair", "<FG color=\"#123456\"/><BG color=\"#ABCDEF\"/>z",
             "\u00B7$#123456,#ABCDEFz"},
        Case{"PaletteTextAfterNonPaletteMerge", "<FG color=\"#123456\"/><BG color=\"#C0C0C0\"/>z",
             "\u00B7$#123456,15z"},
        Case{"EveryPaletteColour",
             "<FG color=\"#FFFFFF\"/><FG color=\"#000000\"/><FG color=\"#000080\"/><FG color=\"#008000\"/>"
             "<FG color=\"#FF0000\"/><FG color=\"#800000\"/><FG color=\"#800080\"/><FG color=\"#FF8000\"/>"
             "<FG color=\"#FFFF00\"/><FG color=\"#00FF00\"/><FG color=\"#008080\"/><FG color=\"#00FFFF\"/>"
             "<FG color=\"#0000FF\"/><FG color=\"#FF00FF\"/><FG color=\"#808080\"/><FG color=\"#C0C0C0\"/>",
             "\u00B7$0\u00B7$1\u00B7$2\u00B7$3\u00B7$4\u00B7$5\u00B7$6\u00B7$7\u00B7$8\u00B7$9\u00B7$10"
             "\u00B7$11\u00B7$12\u00B7$13\u00B7$14\u00B7$15"},
        Case{"TypedColourTextIsNotAPaletteIndex", "<FG color=\"#FF0000\"/>#FF0000,#FFFFFF",
             "\u00B7$4#FF0000,#FFFFFF"},
        Case{"LowerCaseHexStaysHex", "<FG color=\"#ff0000\"/>a<BG color=\"#ffffff\"/>",
             "\u00B7$#ff0000a\u00B7$,#ffffff"},
        Case{"EmptyNick", "<nick></nick>", ""}, Case{"EmptyNickWithLayout", "<nick>\r\n\r\n</nick>\r\n", ""},
        Case{"PlainTextWithEntities", "<nick>a &amp; b &lt;c&gt;</nick>", "a & b <c>"},
        Case{"TypedEntityTextSurvives", "&amp;lt;", "&lt;"},
        Case{"ToggleMarkers", "<b/><i/><u/><s/><r/>x<b/><b/>",
             "\u00B7#\u00B7&\u00B7@\u00B7'\u00B70x\u00B7#\u00B7#"},
        Case{"SpacesAndEnd", "a<space/>b<end/>", "a b\u00B70"},
        Case{"TextFormLineMarker", "a&lt;line/&gt;b", "a\r\nb"},
        Case{"ElementFormLineMarker", "a<line/>b", "a\r\nb"},
        Case{"TextEndingWithALineBreak", "<nick>ab&lt;line/&gt;<end/></nick>", "ab\r\n\u00B70"},
        Case{"LayoutTabsAndLineEndsAreDropped", "<nick>\r\n\t<b/>a\r\n</nick>", "\u00B7#a"},
        Case{"LoneLineFeedIsKept", "a\nb", "a\nb"},
        Case{"UnknownElementStaysText", "<x/>a<FG color='#FF0000'/>", "<x/>a<FG color='#FF0000'/>"},
        Case{"MalformedMarkerStillOpensItsCode", "<FG color=\"red\"/>a", "\u00B7$reda"},
        Case{"TypedCodeWithPaletteColour", "\u00B7$#FF0000x", "\u00B7$4x"},
        Case{"NonAsciiTextPassesIntact", "<FG color=\"#008000\"/>\u00E9t\u00E9 \u00B7 \U0001F600",
             "\u00B7$3\u00E9t\u00E9 \u00B7 \U0001F600"},
        Case{"MergeCountsCharactersNotBytes",
             "<FG color=\"#\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\"/><BG color=\"#FFFF00\"/>",
             "\u00B7$#\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9,8"}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(Xml2Plus, RepairsInvalidUtf8AsWindows1252) {
  EXPECT_EQ(xml2plus("caf\xE9"), "caf\u00E9");
}

}  // namespace
}  // namespace tessalune::engine
