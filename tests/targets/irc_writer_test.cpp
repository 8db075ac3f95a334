#include "targets/irc_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/styled_runs.h"

namespace tessalune::targets {
namespace {

using engine::CharFormat;
using engine::makeColour;
using testing::styledRuns;

constexpr engine::ColourNumber kRed = makeColour(255, 0, 0), kYellow = makeColour(255, 255, 0);

// Duplicates in the palette (red, black, white twice) go to the lower number; a colour between
// palette entries goes to the nearest in CIELAB, which is not always the nearest in RGB.
TEST(IrcWriter, PicksTheNearestPaletteNumber) {
  struct Case {
    std::uint32_t rgb;
    int number;
  };
  for (const Case& c : std::vector<Case>{{0xFF0000, 4},
                                         {0x000000, 1},
                                         {0xFFFFFF, 0},
                                         {0x000080, 2},
                                         {0xFF8000, 7},
                                         {0x123456, 23},
                                         {0x8000FF, 61},
                                         {0x0080FF, 59},
                                         {0xC0C0C0, 96},
                                         {0x808080, 94},
                                         {0xFFC0CB, 76},
                                         {0x804000, 29},
                                         {0x202020, 90}}) {
    const engine::ColourNumber colour = makeColour(c.rgb >> 16, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF);
    EXPECT_EQ(nearestIrcColour(colour), c.number) << std::hex << c.rgb;
  }
  EXPECT_EQ(ircPaletteColour(98), makeColour(255, 255, 255));
}

// Only changes are written, colour code first, then the toggles. Going back to the client's own
// colour clears both colours with a bare code and restates what stays; a code that the next
// character would lengthen is closed by two bold toggles; each line starts plain.
TEST(IrcWriter, WritesTheChangesInTheClientsCodes) {
  const CharFormat plain, bold{std::nullopt, std::nullopt, true}, boldRed{kRed, std::nullopt, true},
      red{kRed, std::nullopt}, redOnYellow{kRed, kYellow}, onYellow{std::nullopt, kYellow},
      everything{std::nullopt, std::nullopt, true, true, true, true};
  struct Case {
    engine::StyledText text;
    TextEnd end;
    std::string palette, hex;
  };
  for (const Case& c : std::vector<Case>{
           {styledRuns({{U"ab", plain}}), TextEnd::Reset, "ab", "ab"},
           {styledRuns({{U"ab", boldRed}, {U"c", plain}}), TextEnd::AsItStands,
            "\x03"
            "04\x02"
            "ab\x03\x02"
            "c",
            "\x04"
            "FF0000\x02"
            "ab\x04\x02"
            "c"},
           {styledRuns({{U"a", redOnYellow}, {U"b", onYellow}, {U"c", red}}), TextEnd::AsItStands,
            "\x03"
            "04,08a\x03\x03"
            "99,08b\x03\x03"
            "04c",
            "\x04"
            "FF0000,FFFF00a\x04"
            "000000b\x04\x04"
            "FF0000c"},
           {styledRuns({{U"1", red}, {U"2", plain}, {U",", red}, {U"b", plain}}), TextEnd::AsItStands,
            "\x03"
            "041\x03\x02\x02"
            "2\x03"
            "04\x02\x02,\x03"
            "b",
            "\x04"
            "FF00001\x04\x02\x02"
            "2\x04"
            "FF0000\x02\x02,\x04\x02\x02"
            "b"},
           {styledRuns({{U"a", everything}, {U"b", plain}}), TextEnd::AsItStands,
            "\x02\x1D\x1F\x1E"
            "a\x02\x1D\x1F\x1E"
            "b",
            "\x02\x1D\x1F\x1E"
            "a\x02\x1D\x1F\x1E"
            "b"},
           {styledRuns({{U"a\r\nb\nc", bold}}), TextEnd::Reset,
            "\x02"
            "a\n\x02"
            "b\n\x02"
            "c\x0F",
            "\x02"
            "a\n\x02"
            "b\n\x02"
            "c\x0F"},
           {styledRuns({{U"a", red}}), TextEnd::Reset,
            "\x03"
            "04a\x0F",
            "\x04"
            "FF0000a\x0F"},
           {styledRuns({{U"\x02\x03x\t\x1b\u009B", plain}}), TextEnd::Reset, "\uFFFD\uFFFDx\t\uFFFD\uFFFD",
            "\uFFFD\uFFFDx\t\uFFFD\uFFFD"}}) {
    EXPECT_EQ(writeIrc(c.text, IrcColours::Palette, c.end), c.palette);
    EXPECT_EQ(writeIrc(c.text, IrcColours::Hex, c.end), c.hex);
  }
}

}  // namespace
}  // namespace tessalune::targets
