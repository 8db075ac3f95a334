#include "engine/styled_text.h"

#include <gtest/gtest.h>

namespace tessalune::engine {
namespace {

CharFormat colour(ColourNumber c) {
  CharFormat format;
  format.textColour = c;
  return format;
}

// The format table is cleaned of unused formats when it reaches a threshold (4 096 formats
// at first), which renumbers it. An insertion of several new formats that reaches it half
// way must still give each inserted character its own format.
TEST(StyledText, AnInsertionAcrossTheCleanUpKeepsEveryInsertedFormat) {
  StyledText text(1, {U'a', colour(0)});
  for (ColourNumber c = 1; c < 4095; ++c) text.setFormat(0, colour(c));  // 4 095 formats, one used
  const StyledText inserted{{U'x', colour(0xAA0001)}, {U'y', colour(0xAA0002)}, {U'z', colour(0xAA0003)}};
  text.replace(1, 0, inserted);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text[0], (StyledChar{U'a', colour(4094)}));
  EXPECT_EQ(text[1], inserted[0]);
  EXPECT_EQ(text[2], inserted[1]);
  EXPECT_EQ(text[3], inserted[2]);
}

}  // namespace
}  // namespace tessalune::engine
