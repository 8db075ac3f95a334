#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "engine/colour.h"
#include "engine/palette.h"
#include "render_bound.h"
#include "shown_names.h"

namespace tessalune::purple {
namespace {

std::string repeated(std::string_view part, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += part;
  return text;
}

// A received message is laid out in colour only within what a Plus! conversation holds;
// past that it shows as it came, however many codes it carries. Within it, a run of one
// format is written once, however often its code is repeated.
TEST(ReceivedText, IsRenderedOnlyWithinTheBound) {
  const std::string red = "\u00B7$4";  // three characters
  const struct {
    std::string text;
    bool rendered;
  } cases[] = {
      {red + repeated("a", kColouredMessageLimit - 3), true},
      {red + repeated("a", kColouredMessageLimit - 2), false},
      {repeated("\u00B7$7,3a", 135287), false},
      {repeated("\u00B7#\u00B7&\u00B7@\u00B7'", 25000), false},
      {repeated("plain ", 1000), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(renderReceivedText(c.text).has_value(), c.rendered)
        << c.text.substr(0, 20) << "... " << c.text.size();
  }
  const std::optional<std::string> runs = renderReceivedText(repeated("\u00B7$7,3a", 300));
  ASSERT_TRUE(runs);
  EXPECT_EQ(*runs, "<font color=\"#FF8000\" back=\"#008000\">" + repeated("a", 300) + "</font>");
}

// The foreground colours of a label's markup.
std::vector<engine::ColourNumber> foregrounds(const std::string& markup) {
  std::vector<engine::ColourNumber> colours;
  static const std::regex foreground("foreground=\"(#[0-9A-F]{6})\"");
  for (std::sregex_iterator m(markup.begin(), markup.end(), foreground), end; m != end; ++m)
    colours.push_back(*engine::colourFromHex((*m)[1].str()));
  return colours;
}

// The client's own name displays get a Plus! nickname without its codes; a plain name, or a
// middle dot that starts no code, stays as it is.
TEST(PlainName, RemovesTheCodes) {
  const struct {
    std::string name, plain;
  } cases[] = {
      {"Bob the builder", "Bob the builder"},
      {"\u00B7$4Bob \u00B7$12\u00B7#the builder", "Bob the builder"},
      {"\u00B7$#00108Fe\u00B7$,8x\u00B70", "ex"},
      {"a \u00B7 b", "a  b"},
  };
  for (const auto& c : cases) EXPECT_EQ(plainName(c.name), c.plain) << c.name;
}

// A name sits on the client's own background: only a background code paints one. Colours
// that read there stay; a plain name, or one past the nickname limit, is left to the client.
TEST(NameLabel, UsesTheClientsBackgroundUnlessTheNameGivesOne) {
  const engine::ColourNumber grey = engine::makeColour(0xED, 0xEC, 0xEB);
  const struct {
    std::string name;
    std::optional<std::string> label;
  } cases[] = {
      {"Bob the builder", std::nullopt},
      {"\u00B7$2Bob \u00B7#b",
       "<span foreground=\"#000080\">Bob </span><span foreground=\"#000080\" "
       "weight=\"bold\">b</span>"},
      {"\u00B7$2,8Bob", "<span foreground=\"#000080\" background=\"#FFFF00\">Bob</span>"},
      {"\u00B7#" + repeated("b", engine::kNicknameLimit - 2),
       "<span weight=\"bold\">" + repeated("b", engine::kNicknameLimit - 2) + "</span>"},
      {"\u00B7#" + repeated("b", engine::kNicknameLimit - 1), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(renderNameLabel(c.name, grey), c.label) << c.name;
}

// Every palette colour reads (4.5:1) on a light and on a dark background, and on a
// background the name gives; one that already reads keeps its exact colour.
TEST(NameLabel, GivesEveryColourTheDesktopsContrast) {
  const engine::ColourNumber light = engine::makeColour(0xED, 0xEC, 0xEB),
                             dark = engine::makeColour(0x30, 0x30, 0x30);
  for (int index = 0; index < 16; ++index) {
    const std::string code = "\u00B7$" + std::to_string(index);
    for (engine::ColourNumber ground : {light, dark}) {
      const std::optional<std::string> label = renderNameLabel(code + "name", ground);
      ASSERT_TRUE(label) << index;
      const std::vector<engine::ColourNumber> colours = foregrounds(*label);
      ASSERT_EQ(colours.size(), 1u) << *label;
      EXPECT_GE(contrastRatio(colours[0], ground), 4.5) << index << " " << *label;
      const engine::ColourNumber given = *engine::colourFromHex(engine::kPalette[index]);
      if (contrastRatio(given, ground) >= 4.5) {
        EXPECT_EQ(colours[0], given) << index;
      }
    }
    const std::optional<std::string> onYellow = renderNameLabel(code + ",8name", dark);
    ASSERT_TRUE(onYellow);
    EXPECT_GE(contrastRatio(foregrounds(*onYellow)[0], engine::makeColour(255, 255, 0)), 4.5) << *onYellow;
  }
}

// A contact's label is made once for a text and follows it when it changes; contacts with
// the same name each keep their own.
TEST(NameLabels, FollowEachContactsText) {
  NameLabels labels;
  const engine::ColourNumber white = engine::makeColour(255, 255, 255);
  const std::string* first = &*labels.label("bob", "\u00B7$2Bob", white);
  EXPECT_EQ(&*labels.label("bob", "\u00B7$2Bob", white), first);
  EXPECT_EQ(labels.label("carol", "\u00B7$2Bob", white), "<span foreground=\"#000080\">Bob</span>");
  EXPECT_EQ(labels.label("bob", "\u00B7$12Bob", white), "<span foreground=\"#0000FF\">Bob</span>");
  EXPECT_EQ(labels.label("bob", "Bob", white), std::nullopt);
}

}  // namespace
}  // namespace tessalune::purple
