#include "targets/ansi_render.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/styled_runs.h"

namespace tessalune::targets {
namespace {

using engine::CharFormat;
using engine::makeColour;
using testing::styledRuns;

constexpr engine::ColourNumber kRed = makeColour(255, 0, 0);

// Only changes of format are written, with a reset at the end. The background stops before
// each newline, so that a scrolling terminal does not paint the next line with it, while the
// text colour carries on. Characters that would act on the terminal are replaced.
TEST(AnsiRender, WritesTheChangesOfFormatAndNothingTheTerminalWouldObey) {
  const CharFormat plain, boldRed{kRed, std::nullopt, true},
      italicOnYellow{kRed, makeColour(255, 255, 0), false, true}, redOnBlue{kRed, makeColour(0, 0, 255)},
      boldNavy{makeColour(0x12, 0x34, 0x56), std::nullopt, true},
      underlinedOnBlue{std::nullopt, makeColour(0, 0x80, 0xFF), false, false, true},
      underlined{std::nullopt, std::nullopt, false, false, true},
      struck{std::nullopt, std::nullopt, false, false, false, true};
  struct Case {
    engine::StyledText text;
    std::string colour, plain;  // no plain: the same as colour
  };
  for (const Case& c : std::vector<Case>{
           {styledRuns({{U"ab", boldRed}, {U"c", italicOnYellow}, {U"d", plain}}),
            "\x1b[1;38;2;255;0;0;48;2;255;255;255mab\x1b[22;3;48;2;255;255;0mc\x1b[23;38;2;0;0;0;48;2;255;"
            "255;255md"
            "\x1b[0m",
            "abcd"},
           {styledRuns({{U"Hi", boldNavy}, {U" ", plain}, {U"you", underlinedOnBlue}}),
            "\x1b[1;38;2;18;52;86;48;2;255;255;255mHi\x1b[22;38;2;0;0;0m \x1b[4;48;2;0;128;255myou\x1b[0m",
            "Hi you"},
           {styledRuns({{U"x", underlined}, {U"y", struck}, {U"z", plain}}),
            "\x1b[4;38;2;0;0;0;48;2;255;255;255mx\x1b[24;9my\x1b[29mz\x1b[0m", "xyz"},
           {styledRuns({{U"a\r\nb", redOnBlue}}),
            "\x1b[38;2;255;0;0;48;2;0;0;255ma\x1b[49m\n\x1b[48;2;0;0;255mb\x1b[0m", "a\nb"},
           {styledRuns({{U"a\nb\rc\r\n\r\n", plain}}),
            "\x1b[38;2;0;0;0;48;2;255;255;255ma\x1b[49m\n\x1b[48;2;255;255;255mb\x1b[49m\n\x1b[48;2;255;255;"
            "255mc"
            "\x1b[49m\n\n\x1b[0m",
            "a\nb\nc\n\n"},
           {styledRuns({{U"a\x1b[2J\tb\u009B\x7F", plain}}),
            "\x1b[38;2;0;0;0;48;2;255;255;255ma\uFFFD[2J\tb\uFFFD\uFFFD\x1b[0m",
            "a\uFFFD[2J\tb\uFFFD\uFFFD"}}) {
    EXPECT_EQ(renderAnsi(c.text), c.colour);
    EXPECT_EQ(renderAnsi(c.text, AnsiMode::Plain), c.plain.empty() ? c.colour : c.plain);
  }
}

}  // namespace
}  // namespace tessalune::targets
