#include "engine/graphemes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tessalune::engine {
namespace {

// Unicode's own cases, from the installed unicode-data package. A line is the code points
// of a text with "÷" (a break) or "×" (none) before, between and after them.
TEST(Graphemes, BreakAsUnicodesOwnTestSays) {
  const char* path = "/usr/share/unicode/auxiliary/GraphemeBreakTest.txt";
  std::ifstream file(path);
  ASSERT_TRUE(file) << path << " is missing: scripts/install-deps installs unicode-data";
  int cases = 0;
  for (std::string line; std::getline(file, line);) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::u32string text;
    std::string expected, got;  // one mark per code point: 'b' starts a cluster, 'x' does not
    bool breakBefore = false;
    for (std::string word; words >> word;) {
      if (word == "\xC3\xB7") {
        breakBefore = true;
      } else if (word == "\xC3\x97") {
        breakBefore = false;
      } else {
        text.push_back(static_cast<char32_t>(std::stoul(word, nullptr, 16)));
        expected.push_back(breakBefore ? 'b' : 'x');
      }
    }
    if (text.empty()) continue;
    GraphemeBreaker breaker;
    for (char32_t c : text) got.push_back(breaker.startsCluster(c) ? 'b' : 'x');
    EXPECT_EQ(got, expected) << line;
    ++cases;
  }
  EXPECT_GT(cases, 600);
}

}  // namespace
}  // namespace tessalune::engine
