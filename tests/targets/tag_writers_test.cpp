#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/styled_runs.h"
#include "targets/bbcode_writer.h"
#include "targets/minimessage_writer.h"

namespace tessalune::targets {
namespace {

using engine::CharFormat;
using engine::makeColour;
using testing::styledRuns;

constexpr engine::ColourNumber kRed = makeColour(255, 0, 0), kBlue = makeColour(0, 0, 255);

// BBCode and MiniMessage nest their tags alike: the colour innermost, so that a gradient closes
// no format; a format that stops closes what was opened inside it, which is reopened. BBCode
// closes every tag at the end; MiniMessage resets only after a nickname's end, and escapes what
// would read as a tag.
TEST(TagWriters, NestTheTagsAndCloseThemAsEachTargetNeeds) {
  const CharFormat plain, bold{std::nullopt, std::nullopt, true}, boldRed{kRed, std::nullopt, true},
      boldBlue{kBlue, std::nullopt, true}, boldItalic{std::nullopt, std::nullopt, true, true},
      italic{std::nullopt, std::nullopt, false, true}, redOnBlue{kRed, kBlue},
      underStruck{std::nullopt, std::nullopt, false, false, true, true};
  struct Case {
    engine::StyledText text;
    TextEnd end;
    std::string bbcode, miniMessage;
  };
  for (const Case& c : std::vector<Case>{
           {styledRuns({{U"ab", plain}}), TextEnd::Reset, "ab", "ab"},
           {styledRuns({{U"a", bold}, {U"b", boldRed}, {U"c", boldBlue}, {U"d", plain}}), TextEnd::Reset,
            "[b]a[color=#FF0000]b[/color][color=#0000FF]c[/color][/b]d",
            "<b>a<#FF0000>b</#FF0000><#0000FF>c</#0000FF></b>d"},
           {styledRuns({{U"a", bold}, {U"b", boldItalic}, {U"c", italic}}), TextEnd::AsItStands,
            "[b]a[i]b[/i][/b][i]c[/i]", "<b>a<i>b</i></b><i>c"},
           {styledRuns({{U"a", boldRed}, {U"b", underStruck}}), TextEnd::Reset,
            "[b][color=#FF0000]a[/color][/b][u][s]b[/s][/u]", "<b><#FF0000>a</#FF0000></b><u><st>b<reset>"},
           {styledRuns({{U"a\r\nb", redOnBlue}}), TextEnd::AsItStands, "[color=#FF0000]a\nb[/color]",
            "<#FF0000>a\nb"},
           {styledRuns({{U"<b>\\\x1b", plain}}), TextEnd::Reset, "<b>\\\uFFFD", "\\<b>\\\\\uFFFD"}}) {
    EXPECT_EQ(writeBbcode(c.text), c.bbcode);
    EXPECT_EQ(writeMiniMessage(c.text, c.end), c.miniMessage);
  }
}

}  // namespace
}  // namespace tessalune::targets
