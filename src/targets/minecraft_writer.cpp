// Game servers' "&" codes: &#RRGGBB for a text colour, &l bold, &o italic, &n underline,
// &m strike-through, &r reset. Written for each character only where what a player sees changes,
// in this order: the colour code (or &r), then the formats in the order l, o, n, m.
//
// A colour code clears the formats, and a format has no code to turn it off: a new colour, or a
// format that stops, writes the colour code (&r for the automatic colour) and restates every
// format that stays; a format that starts alone writes its code alone. Backgrounds are not
// carried.
//
// With the nickname's reset, a text that ends with anything set ends with &r; without it, the
// text ends as it stands. Line breaks are written as LF; a chat line carries its formats across
// them.
//
// An "&" or "§" of the text that "&", "§" or a code character (0-9, a-f, k-o, r, x, "#", either
// case) follows would start a code: the "&" is written as U+FF06 (the fullwidth ampersand) and
// the "§" as U+FFFD. Characters that would act on a terminal are written as U+FFFD.
#include "targets/minecraft_writer.h"

#include <cctype>
#include <optional>

#include "engine/utf8.h"

namespace tessalune::targets {

namespace {

struct Shown {
  engine::BoxColour colour;
  bool bold = false, italic = false, underline = false, strike = false;
  bool operator==(const Shown&) const = default;
};

Shown shownOf(const engine::CharFormat& format) {
  return {format.textColour, format.bold, format.italic, format.underline, format.strike};
}

// Whether a code would start at an "&" or "§" that part follows.
bool startsCode(std::string_view part) {
  if (part.starts_with("&") || part.starts_with("\u00A7") || part.starts_with("#")) return true;
  const int lower = part.empty() ? 0 : std::tolower(static_cast<unsigned char>(part[0]));
  return std::isdigit(lower) || (lower >= 'a' && lower <= 'f') || (lower >= 'k' && lower <= 'o') ||
         lower == 'r' || lower == 'x';
}

// The text written so far, with an "&" or "§" of the text held until what follows shows
// whether it would start a code.
class Output {
 public:
  void put(std::string_view part) {
    if (part.empty()) return;
    settle(startsCode(part));
    out_ += part;
  }
  void putChar(char32_t c) {
    if (c == U'&' || c == U'\u00A7') {
      settle(true);
      held_ = c;
      return;
    }
    std::string utf8;
    engine::appendUtf8(utf8, c);
    put(utf8);
  }
  std::string finish() {
    settle(false);
    return std::move(out_);
  }

 private:
  void settle(bool followedByCode) {
    if (!held_) return;
    engine::appendUtf8(out_, !followedByCode ? *held_ : *held_ == U'&' ? U'\uFF06' : U'\uFFFD');
    held_.reset();
  }

  std::string out_;
  std::optional<char32_t> held_;
};

void addFormats(std::string& out, const Shown& from, const Shown& to) {
  if (to.bold && !from.bold) out += "&l";
  if (to.italic && !from.italic) out += "&o";
  if (to.underline && !from.underline) out += "&n";
  if (to.strike && !from.strike) out += "&m";
}

std::string changeOf(const Shown& from, const Shown& to) {
  std::string out;
  const bool stops = (from.bold && !to.bold) || (from.italic && !to.italic) ||
                     (from.underline && !to.underline) || (from.strike && !to.strike);
  if (from.colour != to.colour || stops) {
    out += to.colour ? "&#" + hexDigits(*to.colour) : "&r";
    addFormats(out, Shown{}, to);
  } else {
    addFormats(out, from, to);
  }
  return out;
}

}  // namespace

std::string writeMinecraft(const engine::StyledText& text, TextEnd end) {
  Output out;
  Shown shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const engine::StyledChar c = text[i];
    if (engine::isLineBreakChar(c.ch)) {
      out.put("\n");
      i = lineBreakEnd(text, i);
      continue;
    }
    const Shown wanted = shownOf(c.format);
    out.put(changeOf(shown, wanted));
    shown = wanted;
    out.putChar(writableChar(c.ch));
  }
  if (end == TextEnd::Reset && shown != Shown{}) out.put("&r");
  return out.finish();
}

}  // namespace tessalune::targets
