#include <gtest/gtest.h>

#include <string>

#include "render_bound.h"

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

}  // namespace
}  // namespace tessalune::purple
