#include "engine/colour.h"

#include <gtest/gtest.h>

#include "support/recording_error_report.h"

namespace tessalune::engine {
namespace {

TEST(Rgb2Hex, WritesRedGreenBlueInUpperCase) {
  EXPECT_EQ(rgb2hex(255), "#FF0000");
  EXPECT_EQ(rgb2hex(0), "#000000");
  EXPECT_EQ(rgb2hex(0xFF8000), "#0080FF");
  EXPECT_EQ(rgb2hex(0xABCDEF), "#EFCDAB");
  EXPECT_EQ(rgb2hex(0x80000005), "#050000");  // the high byte of a system colour is ignored
}

TEST(Hex2Rgb, ReadsTheLastSixCharactersAndAnInvalidPairAsZero) {
  EXPECT_EQ(hex2rgb("#0080FF"), 0xFF8000u);
  EXPECT_EQ(hex2rgb("0080ff"), 0xFF8000u);
  EXPECT_EQ(hex2rgb("12345"), hex2rgb("012345"));
  EXPECT_EQ(hex2rgb("xx#FF0000"), 0x0000FFu);
  EXPECT_EQ(hex2rgb(""), 0u);
  // An invalid pair counts as zero and the rest is read.
  EXPECT_EQ(hex2rgb("#GG8000"), 0x008000u);
  EXPECT_EQ(hex2rgb("#1G80\u00E9\u00E9"), 0x008000u);
}

TEST(GetRGBColor, SplitsTheDecimalColourNumberAndReportsTextThatIsNoNumber) {
  testing::TestFailures failures;
  EXPECT_EQ(GetRGBColor("16711680", 1, failures.context), 0);
  EXPECT_EQ(GetRGBColor("16711680", 2, failures.context), 255);
  EXPECT_EQ(GetRGBColor("16711680", 3, failures.context), 0);
  EXPECT_EQ(GetRGBColor("33023", 1, failures.context), 255);  // 0x0080FF
  EXPECT_EQ(GetRGBColor("33023", 3, failures.context), 128);
  EXPECT_EQ(GetRGBColor("33023", 4, failures.context), 0);
  EXPECT_EQ(GetRGBColor("-2147483643", 1, failures.context), 5);  // a system colour, masked
  EXPECT_TRUE(failures.report.reports.empty());
  EXPECT_EQ(GetRGBColor("red", 1, failures.context), 0);
  ASSERT_EQ(failures.report.reports.size(), 1u);
  EXPECT_EQ(failures.report.reports[0].kind, "unknown");
  EXPECT_EQ(failures.report.reports[0].source, "GetRGBColor");
  EXPECT_EQ(failures.report.reports[0].number, 13);
}

}  // namespace
}  // namespace tessalune::engine
