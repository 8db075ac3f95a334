// Every target's text read back as a reader of that target reads it: each visible character
// must carry the colour and formats that a Plus! client shows for the same Plus! text (after
// the IRC palette's nearest colour; backgrounds where the target carries them), and a
// nickname's text must end plain. Random Plus! texts from a fixed seed; TESSALUNE_SEED gives
// others.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/plus_to_styled_text.h"
#include "engine/utf8.h"
#include "support/test_seed.h"
#include "targets/bbcode_writer.h"
#include "targets/irc_writer.h"
#include "targets/minecraft_writer.h"
#include "targets/minimessage_writer.h"
#include "targets/write_target.h"

namespace tessalune::targets {
namespace {

using engine::CharFormat;

struct Read {
  std::vector<engine::StyledChar> chars;  // without line breaks
  bool endsPlain = true;
};

bool isHex(std::string_view s, std::size_t at, std::size_t count) {
  if (at + count > s.size()) return false;
  for (std::size_t k = at; k < at + count; ++k) {
    if (!std::isxdigit(static_cast<unsigned char>(s[k]))) return false;
  }
  return true;
}

engine::ColourNumber hexAt(std::string_view s, std::size_t at) {
  return *engine::colourFromHex("#" + std::string(s.substr(at, 6)));
}

// Reads the character at i into out (advancing i), with the format it is shown in.
void readChar(std::string_view s, std::size_t& i, const CharFormat& format, Read& out) {
  char32_t c = 0;
  i += engine::decodeUtf8At(s, i, c);
  out.chars.push_back({c, format});
}

// As IRC clients read a line: a colour code takes up to two digits, and a comma with up to two
// more only when a digit follows it; a code without digits clears both colours; each line
// starts plain.
Read readIrc(std::string_view s, IrcColours colours) {
  Read out;
  CharFormat f;
  const char code = colours == IrcColours::Hex ? '\x04' : '\x03';
  const auto paletteNumber = [&](std::size_t& i) {
    int n = 0;
    for (int k = 0; k < 2 && i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++k) {
      n = n * 10 + (s[i++] - '0');
    }
    return n == 99 ? engine::BoxColour() : engine::BoxColour(ircPaletteColour(n));
  };
  for (std::size_t i = 0; i < s.size();) {
    const char b = s[i];
    if (b == '\x02' || b == '\x1D' || b == '\x1F' || b == '\x1E' || b == '\x0F' || b == '\n') {
      if (b == '\x02') f.bold = !f.bold;
      if (b == '\x1D') f.italic = !f.italic;
      if (b == '\x1F') f.underline = !f.underline;
      if (b == '\x1E') f.strike = !f.strike;
      if (b == '\x0F' || b == '\n') f = CharFormat{};
      ++i;
      continue;
    }
    if (b == '\x03' || b == '\x04') {
      EXPECT_EQ(b, code) << "the other kind of colour code";
      ++i;
      const bool palette = colours == IrcColours::Palette;
      if (palette ? !(i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) : !isHex(s, i, 6)) {
        f.textColour.reset();
        f.background.reset();
        continue;
      }
      if (palette) {
        f.textColour = paletteNumber(i);
      } else {
        f.textColour = hexAt(s, i);
        i += 6;
      }
      if (i + 1 < s.size() && s[i] == ',' &&
          (palette ? std::isdigit(static_cast<unsigned char>(s[i + 1])) != 0 : isHex(s, i + 1, 6))) {
        ++i;
        if (palette) {
          f.background = paletteNumber(i);
        } else {
          f.background = hexAt(s, i);
          i += 6;
        }
      }
      continue;
    }
    readChar(s, i, f, out);
  }
  out.endsPlain = f == CharFormat{};
  return out;
}

// A tag-based target's reader: the open tags, which must close innermost first.
class TagStack {
 public:
  void open(std::string tag) { tags_.push_back(std::move(tag)); }
  void close(const std::string& tag) {
    EXPECT_TRUE(!tags_.empty() && tags_.back() == tag) << "closes " << tag << " out of order";
    if (!tags_.empty()) tags_.pop_back();
  }
  void closeColour() {
    EXPECT_TRUE(!tags_.empty() && tags_.back().starts_with("#")) << "closes a colour out of order";
    if (!tags_.empty()) tags_.pop_back();
  }
  void clear() { tags_.clear(); }
  bool empty() const { return tags_.empty(); }
  CharFormat format() const {
    CharFormat f;
    for (const std::string& tag : tags_) {
      f.bold |= tag == "b";
      f.italic |= tag == "i";
      f.underline |= tag == "u";
      f.strike |= tag == "s" || tag == "st";
      if (tag.starts_with("#")) f.textColour = *engine::colourFromHex(tag);
    }
    return f;
  }

 private:
  std::vector<std::string> tags_;
};

Read readBbcode(std::string_view s) {
  Read out;
  TagStack tags;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t end = s[i] == '[' ? s.find(']', i) : std::string_view::npos;
    const std::string_view tag = end == std::string_view::npos ? "" : s.substr(i + 1, end - i - 1);
    const bool colour = tag.starts_with("color=#") && tag.size() == 13 && isHex(tag, 7, 6);
    if (tag == "b" || tag == "i" || tag == "u" || tag == "s" || colour) {
      tags.open(std::string(colour ? tag.substr(6) : tag));
    } else if (tag == "/b" || tag == "/i" || tag == "/u" || tag == "/s") {
      tags.close(std::string(tag.substr(1)));
    } else if (tag == "/color") {
      tags.closeColour();
    } else if (s[i] != '\n') {
      readChar(s, i, tags.format(), out);
      continue;
    }
    i = s[i] == '\n' ? i + 1 : end + 1;
  }
  out.endsPlain = tags.empty();
  return out;
}

Read readMiniMessage(std::string_view s) {
  Read out;
  TagStack tags;
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '<' || s[i + 1] == '\\')) {
      ++i;
      readChar(s, i, tags.format(), out);
    } else if (s[i] == '<') {
      const std::size_t end = s.find('>', i);
      EXPECT_NE(end, std::string_view::npos) << "an unfinished tag";
      if (end == std::string_view::npos) break;
      std::string tag(s.substr(i + 1, end - i - 1));
      if (tag == "reset") {
        tags.clear();
      } else if (tag.starts_with("/")) {
        tags.close(tag.substr(1));
      } else {
        EXPECT_TRUE(tag == "b" || tag == "i" || tag == "u" || tag == "st" ||
                    (tag.size() == 7 && tag[0] == '#' && isHex(tag, 1, 6)))
            << tag;
        tags.open(tag);
      }
      i = end + 1;
    } else if (s[i] == '\n') {
      ++i;
    } else {
      readChar(s, i, tags.format(), out);
    }
  }
  out.endsPlain = tags.empty();
  return out;
}

// As a server's chat plug-in reads "&" codes ("§" alike): a colour clears the formats.
Read readMinecraft(std::string_view s) {
  Read out;
  CharFormat f;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t marker = s[i] == '&' ? 1 : std::string_view(s).substr(i).starts_with("\u00A7") ? 2 : 0;
    const char code = marker && i + marker < s.size() ? static_cast<char>(std::tolower(s[i + marker])) : '\0';
    if (code == '#' && isHex(s, i + marker + 1, 6)) {
      f = CharFormat{hexAt(s, i + marker + 1), std::nullopt};
      i += marker + 7;
    } else if (code == 'l' || code == 'o' || code == 'n' || code == 'm' || code == 'r') {
      f.bold |= code == 'l';
      f.italic |= code == 'o';
      f.underline |= code == 'n';
      f.strike |= code == 'm';
      if (code == 'r') f = CharFormat{};
      i += marker + 1;
    } else if (code && (std::isxdigit(static_cast<unsigned char>(code)) || (code >= 'k' && code <= 'o') ||
                        code == 'x' || code == '&')) {
      ADD_FAILURE() << "a code the writer never writes at " << i << " of " << s;
      i += marker + 1;
    } else if (s[i] == '\n') {
      ++i;
    } else {
      readChar(s, i, f, out);
    }
  }
  out.endsPlain = f == CharFormat{};
  return out;
}

Read readBack(Target target, std::string_view written) {
  switch (target) {
    case Target::Irc:
      return readIrc(written, IrcColours::Palette);
    case Target::IrcHex:
      return readIrc(written, IrcColours::Hex);
    case Target::Bbcode:
      return readBbcode(written);
    case Target::Minecraft:
      return readMinecraft(written);
    default:
      return readMiniMessage(written);
  }
}

// The format a target's reader should see for a character that a Plus! client shows in format;
// the white paper under Plus! text that chose no background is none.
CharFormat carried(Target target, CharFormat format, bool paper) {
  if (!targetInfo(target).backgrounds || paper) format.background.reset();
  if (target == Target::Irc) {
    if (format.textColour) format.textColour = ircPaletteColour(nearestIrcColour(*format.textColour));
    if (format.background) format.background = ircPaletteColour(nearestIrcColour(*format.background));
  }
  if (target == Target::IrcHex && format.background && !format.textColour) format.textColour = 0x000000;
  return format;
}

// The character a reader should see: the visible replacement of what would act as a code.
bool sameChar(Target target, char32_t shown, char32_t read) {
  if (read == writableChar(shown)) return true;
  return target == Target::Minecraft &&
         ((shown == U'&' && read == U'\uFF06') || (shown == U'\u00A7' && read == U'\uFFFD'));
}

// Random Plus! text: every code, text that codes could swallow or that reads as a target's
// codes, and line breaks.
std::string randomPlus(std::mt19937& rng) {
  static constexpr std::string_view kPieces[] = {
      "a",  "Z",    " ",    "1",       "9",       ",",          "&",       "<",      "\\",   "[",
      "#",  "l",    "b",    "\u00E9",  "\u20AC",  "\U0001F600", "\u00A7",  "\x02",   "\x03", "\x0F",
      "\t", "\x1b", "\r\n", "\u00B7#", "\u00B7&", "\u00B7@",    "\u00B7'", "\u00B70"};
  std::string plus;
  const int count = std::uniform_int_distribution<int>(0, 30)(rng);
  const auto colour = [&] {
    return rng() % 2 ? std::to_string(rng() % 16) : engine::rgb2hex(rng() & engine::kRgbMask);
  };
  for (int k = 0; k < count; ++k) {
    switch (rng() % 4) {
      case 0:
        plus += "\u00B7$" + colour() + (rng() % 2 ? "," + colour() : "");
        break;
      case 1:
        plus += "\u00B7$," + colour();
        break;
      default:
        plus += kPieces[rng() % std::size(kPieces)];
    }
  }
  if (rng() % 2) plus += "\u00B70";
  return plus;
}

// Random styled characters, in runs, with what Plus! text cannot say: a colour that goes back
// to the automatic one, a background that stops.
engine::StyledText randomStyled(std::mt19937& rng) {
  static constexpr char32_t kChars[] = {U'a',  U'Z',    U' ',    U'1',    U'9',      U',',     U'&',
                                        U'<',  U'\\',   U'[',    U'#',    U'l',      U'b',     U'\r',
                                        U'\n', U'\x02', U'\x03', U'\x1b', U'\u00A7', U'\u00E9'};
  const auto colour = [&] {
    switch (rng() % 4) {
      case 0:
        return engine::BoxColour();
      case 1:
        return engine::BoxColour(engine::makeColour(255, 0, 0));
      default:
        return engine::BoxColour(rng() & engine::kRgbMask);
    }
  };
  engine::StyledText text;
  const int runs = std::uniform_int_distribution<int>(0, 12)(rng);
  for (int run = 0; run < runs; ++run) {
    const CharFormat format{colour(),       rng() % 2 ? colour() : engine::BoxColour(),
                            rng() % 3 == 0, rng() % 3 == 0,
                            rng() % 3 == 0, rng() % 3 == 0};
    if (rng() % 8 == 0) {
      // Text that a colour code before it could take for its colours.
      for (char32_t c : std::u32string_view(rng() % 2 ? U"C0FFEE" : U",0A0B0C")) text.push_back({c, format});
      continue;
    }
    for (unsigned k = rng() % 3 + 1; k > 0; --k) text.push_back({kChars[rng() % std::size(kChars)], format});
  }
  return text;
}

std::string writeStyled(Target target, const engine::StyledText& text, TextEnd end) {
  switch (target) {
    case Target::Irc:
      return writeIrc(text, IrcColours::Palette, end);
    case Target::IrcHex:
      return writeIrc(text, IrcColours::Hex, end);
    case Target::Bbcode:
      return writeBbcode(text);
    case Target::Minecraft:
      return writeMinecraft(text, end);
    default:
      return writeMiniMessage(text, end);
  }
}

class WrittenTarget : public ::testing::TestWithParam<Target> {};

// Half the rounds write random Plus! text through writeTarget, as every host does; the other
// half write random styled characters straight through the target's writer.
TEST_P(WrittenTarget, ReadsBackAsAPlusClientShowsIt) {
  const Target target = GetParam();
  std::mt19937 rng(testing::testSeed(std::string(targetInfo(target).name).c_str()));
  for (int round = 0; round < 600; ++round) {
    const bool fromPlus = round % 2 == 0;
    const std::string plus = fromPlus ? randomPlus(rng) : "";
    const engine::StyledText styled = fromPlus ? engine::plusToStyledText(plus) : randomStyled(rng);
    const TextEnd end = fromPlus ? (plus.ends_with("\u00B70") ? TextEnd::Reset : TextEnd::AsItStands)
                                 : (rng() % 2 ? TextEnd::Reset : TextEnd::AsItStands);
    const std::string written = fromPlus ? writeTarget(target, plus) : writeStyled(target, styled, end);
    const Read read = readBack(target, written);
    const bool paper = fromPlus && !engine::hasBackgroundCode(plus);
    std::vector<engine::StyledChar> shown;
    for (const engine::StyledChar& c : styled) {
      if (!engine::isLineBreakChar(c.ch)) shown.push_back({c.ch, carried(target, c.format, paper)});
    }
    SCOPED_TRACE("Plus! text " + plus + "\nwritten " + written);
    ASSERT_EQ(read.chars.size(), shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
      ASSERT_TRUE(sameChar(target, shown[i].ch, read.chars[i].ch)) << "character " << i;
      ASSERT_EQ(read.chars[i].format, shown[i].format) << "character " << i;
    }
    // A nickname ends plain; other text ends as its last character shows, but for BBCode, which
    // closes its tags, and IRC, whose lines start plain.
    const bool irc = target == Target::Irc || target == Target::IrcHex;
    const bool endsFormatted = !shown.empty() && shown.back().format != CharFormat{} &&
                               !(irc && engine::isLineBreakChar(styled.back().ch));
    EXPECT_EQ(read.endsPlain, end == TextEnd::Reset || target == Target::Bbcode || !endsFormatted);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, WrittenTarget,
                         ::testing::Values(Target::Irc, Target::IrcHex, Target::Bbcode, Target::Minecraft,
                                           Target::MiniMessage),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           std::string name(targetInfo(info.param).name);
                           std::erase(name, '-');
                           return name;
                         });

}  // namespace
}  // namespace tessalune::targets
