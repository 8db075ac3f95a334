#include "engine/utf8.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"

namespace tessalune::engine {
namespace {

TEST(Utf8, ValidTextRoundTrips) {
  const std::string text = "a\u00E9\u00B7\u20AC\U0001F600";
  EXPECT_EQ(encodeUtf8(decodeUtf8(text)), text);
  EXPECT_EQ(countChars(text), 5u);
  EXPECT_EQ(byteLengthOfChars(text, 2), 3u);
}

TEST(Utf8, InvalidBytesReadAsWindows1252) {
  EXPECT_EQ(ensureUtf8("\x80 \xE9 \xC0\xAF \xED\xA0\x80"), "\u20AC \u00E9 \u00C0\u00AF \u00ED\u00A0\u20AC");
  EXPECT_EQ(ensureUtf8("\xF0\x9F\x98"), "\u00F0\u0178\u02DC");
}

TEST(Cp1252, MapsBothWays) {
  for (int b = 0; b < 256; ++b) {
    const auto back = unicodeToCp1252(cp1252ToUnicode(static_cast<unsigned char>(b)));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, b);
  }
  EXPECT_FALSE(unicodeToCp1252(U'\u4E2D').has_value());
  EXPECT_FALSE(unicodeToCp1252(U'\u0080').has_value());
}

}  // namespace
}  // namespace tessalune::engine
