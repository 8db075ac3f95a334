#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "engine/colour.h"
#include "engine/limits.h"
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

// A name past the nickname limit is left to the client, as plain text.
TEST(NameLabel, IsRenderedOnlyWithinTheNicknameLimit) {
  const struct {
    std::string name;
    std::optional<std::string> label;
  } cases[] = {
      {"Bob the builder", std::nullopt},
      {"\u00B7#" + repeated("b", engine::kNicknameLimit - 2),
       "<span foreground=\"#000000\"><span background=\"#FFFFFF\" weight=\"bold\">" +
           repeated("b", engine::kNicknameLimit - 2) + "</span></span>"},
      {"\u00B7#" + repeated("b", engine::kNicknameLimit - 1), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(renderNameLabel(c.name), c.label) << c.name;
}

// A contact's label is made once for a text and follows it when it changes; contacts with
// the same name each keep their own.
TEST(NameLabels, FollowEachContactsText) {
  NameLabels labels;
  const std::string* first = &*labels.label("bob", "\u00B7$2Bob");
  EXPECT_EQ(&*labels.label("bob", "\u00B7$2Bob"), first);
  EXPECT_EQ(
      labels.label("carol", "\u00B7$2Bob"),
      "<span foreground=\"#000000\"><span foreground=\"#000080\" background=\"#FFFFFF\">Bob</span></span>");
  EXPECT_EQ(labels.label("bob", "Bob"), std::nullopt);
}

}  // namespace
}  // namespace tessalune::purple
