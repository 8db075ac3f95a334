#include "platform/xml_strict.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <random>
#include <string>

#include "support/test_seed.h"

namespace tessalune::platform {
namespace {

// Text content as people type it and as broken input brings it: letters, markup
// specials escaped, line ends, emoji, characters XML forbids, bytes that are not UTF-8,
// character references of any number.
std::string randomContent(std::mt19937& random) {
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto utf8 = [](std::uint32_t c) {
    std::string out;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
  };
  std::string text;
  for (int n = pick(8); n > 0; --n) {
    switch (pick(40)) {
      case 0:
        text += "&amp;&lt;&gt;&quot;";
        break;
      case 1:
        text += "\r\n";
        break;
      case 2:
        text += utf8(0x1F600 + static_cast<std::uint32_t>(pick(80)));
        break;
      case 3:
        text += utf8(static_cast<std::uint32_t>(pick(0x20)));
        break;  // control characters
      case 4:
        text += utf8(std::array<std::uint32_t, 4>{0xFFFE, 0xFFFF, 0xD7FF, 0xE000}[pick(4)]);
        break;
      case 5:
        text += static_cast<char>(0x80 + pick(0x80));
        break;  // a stray byte
      case 6:
        text += "\xED\xA0\x80";
        break;  // an encoded surrogate
      case 7:
        text += "&#" + std::to_string(pick(0x110010)) + ";";
        break;
      case 8:
        text += "&#x" + std::to_string(pick(0x100)) + ";";
        break;
      case 9:
        text += std::array<const char*, 4>{"]]>", "&", "&nbsp;", "&amp"}[pick(4)];
        break;
      default:
        text += utf8(0x20 + static_cast<std::uint32_t>(pick(0x3000)));
        break;
    }
  }
  return text;
}

// The character rules give libxml2's verdict on the documents the conversions make: a
// build without libxml2 reads them as strictly as the native one.
TEST(XmlStrictReading, CharacterRulesGiveLibxml2sVerdictOnMarkup) {
  std::mt19937 random(testing::testSeed("strict reading of markup"));
  int checked = 0, refused = 0;  // both kinds of verdict must be well represented
  for (int i = 0; i < 4000; ++i) {
    const std::string markup = "<nick>\r\n<FG color=\"#FF0000\"/>" + randomContent(random) + "<b/>" +
                               randomContent(random) + "<BG color=\"#00FF00\"/>\r\n</nick>";
    pugi::xml_document doc;
    if (!doc.load_buffer(markup.data(), markup.size(), pugi::parse_default | pugi::parse_ws_pcdata,
                         pugi::encoding_utf8)) {
      continue;
    }
    ++checked;
    const bool strict = strictProblem(markup).has_value();
    refused += strict;
    EXPECT_EQ(characterProblem(markup).has_value(), strict) << markup;
  }
  EXPECT_GT(checked, 3000);
  EXPECT_GT(refused, 1000);
  EXPECT_LT(refused, checked - 500);
}

}  // namespace
}  // namespace tessalune::platform
