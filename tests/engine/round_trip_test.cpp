// Plus! text -> RTF -> rich-text box -> markup -> Plus! text, the way the current nickname
// becomes a QuickNick: the conversions as built, held to their documented steps.
#include <gtest/gtest.h>

#include <random>

#include "engine/plus2rtf.h"
#include "engine/rtf2xml.h"
#include "engine/xml2plus.h"
#include "platform/scripted_dialogs.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"
#include "support/recording_lifecycle.h"
#include "support/reference_conversions.h"
#include "support/test_seed.h"

namespace tessalune::engine {
namespace {

class RoundTrip : public ::testing::Test {
 protected:
  std::string convert(std::string_view plus, EditorMode mode, bool noEnd, std::int16_t backgroundFlag) {
    RichTextBox box("rtf_quicknick");
    box.setTextRtf(plus2rtf(std::string(plus)));
    ConversionContext ctx{mode, noEnd, dialogs, messages, failures.context, lifecycle, scratch};
    return rtf2plus(box, backgroundFlag, ctx);
  }

  platform::ScriptedDialogs dialogs;  // every question answered yes
  testing::EnglishMessages messages;
  testing::TestFailures failures;
  testing::RecordingLifecycle lifecycle;
  RichTextBox scratch{"rtf_mask"};
};

// A line break shows no colour, so a space that begins a line keeps its own: the colour
// code stays in front of the space instead of moving past it.
TEST_F(RoundTrip, KeepsTheColourOfASpaceThatBeginsALine) {
  const struct {
    std::string_view plus, back;
  } cases[] = {
      {"a\u00B7$4\r\n b", "\u00B7$,0a\r\n\u00B7$4 b\u00B70"},
      {"a\u00B7$4\r\n\u00B7@ b", "\u00B7$,0a\r\n\u00B7$4\u00B7@ b\u00B70"},
      {"a\u00B7$4\r\n\r\n b", "\u00B7$,0a\r\n\r\n\u00B7$4 b\u00B70"},
      {"\u00B7$,12a\r\n b", "\u00B7$,12a\r\n b\u00B70"},
      {"a\u00B7#\r\n b", "\u00B7$,0a\r\n\u00B7# b\u00B70"},
      {"a\u00B7$4 \r\n b", "\u00B7$,0a \r\n\u00B7$4 b\u00B70"},
      {"a\r\n\u00B7$4 \u00B7$2b", "\u00B7$,0a\r\n\u00B7$4 \u00B7$2b\u00B70"},
  };
  for (const auto& c : cases) EXPECT_EQ(convert(c.plus, EditorMode::Nickname, false, 1), c.back) << c.plus;
}

std::string printable(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) {
      out += "\\x" + std::string(1, "0123456789ABCDEF"[byte >> 4]) + "0123456789ABCDEF"[byte & 0xF];
    } else {
      out.push_back(c);
    }
  }
  return out;
}

TEST_F(RoundTrip, MatchesTheDocumentedStepsOnRandomTexts) {
  const std::vector<std::string_view> pieces = {
      // every code, palette and RGB colours, broken codes
      "\u00B7#", "\u00B7&", "\u00B7@", "\u00B7'", "\u00B70", "\u00B7$4", "\u00B7$12", "\u00B7$4,12",
      "\u00B7$,2", "\u00B7$,15", "\u00B7$#FF0000", "\u00B7$#0080ff,#123456", "\u00B7$#00FF00,3", "\u00B7$",
      "\u00B7$,", "\u00B7", "\u00B7$#102030x\u00B7$#405060y\u00B7$#708090z", "\u00B7$3,4v\u00B7$5,6w",
      // line breaks, and spaces that lead or trail a line
      "\r\n", "\r\n", "\r", "\n", " ", " ", "  ",
      // emoticons and what nearly is one
      ":-)", ":)", "(brb)", "(h)", "<:o)", ":-", "(",
      // characters the RTF escapes, the markup escapes or cannot hold
      "a", "b", "\u00E9", "\u20AC", "\U0001F600", "\\", "\\cf1 ", "{", "}", "&", "<", ">", "\x02", "\x0F",
      "\t", "\x01", "\uE000", "<space/>", "<line/>", "-$$space$$-"};
  const unsigned seed = testing::testSeed("round trip");
  std::mt19937 rng(seed);
  const auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); };
  for (int round = 0; round < 2000; ++round) {
    std::string plus;
    for (int n = pick(33); n > 0; --n)
      plus += pieces[static_cast<std::size_t>(pick(static_cast<int>(pieces.size())))];
    const testing::ReferenceOptions options{pick(2) == 0 ? EditorMode::Nickname : EditorMode::Text,
                                            pick(2) == 0, static_cast<std::int16_t>(pick(2))};

    RichTextBox box("rtf_quicknick");
    box.setTextRtf(testing::plus2rtfBySteps(plus));
    const std::string markup = testing::rtf2xmlBySteps(box, options);
    const std::string expected = markup.empty() ? "" : testing::xml2plusBySteps(markup);
    ASSERT_EQ(convert(plus, options.mode, options.noEnd, options.backgroundFlag), expected)
        << "seed " << seed << ", round " << round << ", mode " << static_cast<int>(options.mode) << ", noEnd "
        << options.noEnd << ", background " << options.backgroundFlag << ", text " << printable(plus);
  }
}

}  // namespace
}  // namespace tessalune::engine
