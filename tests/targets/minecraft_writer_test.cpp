#include "targets/minecraft_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/styled_runs.h"

namespace tessalune::targets {
namespace {

using engine::CharFormat;
using engine::makeColour;
using testing::styledRuns;

constexpr engine::ColourNumber kRed = makeColour(255, 0, 0), kBlue = makeColour(0, 0, 255);

// A colour code clears the formats, so formats are restated after it; a format that stops
// restarts from the colour (or &r); an "&" or "§" of the text that would start a code is not
// written as itself.
TEST(MinecraftWriter, RestatesTheFormatsAfterEachColourCode) {
  const CharFormat plain, bold{std::nullopt, std::nullopt, true}, boldRed{kRed, std::nullopt, true},
      red{kRed, std::nullopt}, redOnBlue{kRed, kBlue}, redItalic{kRed, std::nullopt, false, true},
      boldItalic{std::nullopt, std::nullopt, true, true}, italic{std::nullopt, std::nullopt, false, true},
      everything{kBlue, std::nullopt, true, true, true, true};
  struct Case {
    engine::StyledText text;
    TextEnd end;
    std::string written;
  };
  for (const Case& c : std::vector<Case>{
           {styledRuns({{U"ab", plain}}), TextEnd::Reset, "ab"},
           {styledRuns({{U"ab", boldRed}, {U"c", plain}}), TextEnd::AsItStands, "&#FF0000&lab&rc"},
           {styledRuns({{U"a", boldRed}, {U"b", red}, {U"c", redItalic}}), TextEnd::AsItStands,
            "&#FF0000&la&#FF0000b&oc"},
           {styledRuns({{U"a", bold}, {U"b", boldItalic}, {U"c", italic}}), TextEnd::Reset, "&la&ob&r&oc&r"},
           {styledRuns({{U"a", everything}, {U"b", redOnBlue}}), TextEnd::AsItStands,
            "&#0000FF&l&o&n&ma&#FF0000b"},
           {styledRuns({{U"a\r\nb", bold}}), TextEnd::Reset, "&la\nb&r"},
           {styledRuns({{U"&l R&B & x&", plain}}), TextEnd::Reset, "\uFF06l R\uFF06B & x&"},
           {styledRuns({{U"&", plain}, {U"&", bold}, {U"\u00A7x\u00A7", plain}}), TextEnd::AsItStands,
            "\uFF06&l\uFF06&r\uFFFDx\u00A7"},
           {styledRuns({{U"\x1b\t\u0085", plain}}), TextEnd::Reset, "\uFFFD\t\uFFFD"}}) {
    EXPECT_EQ(writeMinecraft(c.text, c.end), c.written);
  }
}

}  // namespace
}  // namespace tessalune::targets
