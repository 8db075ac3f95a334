// IRC formatting characters, written for each character only where what a client shows changes,
// in this order: the colour code, then the toggles bold (0x02), italic (0x1D), underline (0x1F)
// and strike-through (0x1E).
//
// Colours. The palette form writes 0x03 and a two-digit text colour, with "," and a two-digit
// background when the background changes; the text colour is then repeated, or written 99 (the
// client's own) when it is automatic. The hexadecimal form writes 0x04 and RRGGBB[,RRGGBB]; as it
// has no number for the client's own text colour, automatic text on a background is written as a
// Plus! client shows it, black. Going back to the automatic text colour or to no background
// writes a bare code, which clears both, and then restates what stays.
//
// A code the next character could lengthen (a bare code before a digit or a comma, a text colour
// alone before a comma; in the hexadecimal form any hexadecimal digit counts) is closed by two
// bold toggles, which change nothing, so that the character is shown rather than read.
//
// Lines. An IRC line is a message of its own, and clients start each one plain: every line
// break is written as one LF, and the next line restates what it shows from nothing.
//
// Characters that would act on a client (IRC's own format characters, the other C0 controls
// but the tab, DEL, C1) are written as U+FFFD.
#include "targets/irc_writer.h"

#include <array>
#include <cctype>
#include <cmath>
#include <optional>

#include "engine/utf8.h"

namespace tessalune::targets {

namespace {

// Numbers 0 to 98, as RRGGBB.
constexpr std::array<std::uint32_t, kIrcPaletteSize> kPaletteRgb = {
    0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000, 0x9C009C, 0xFC7F00,
    0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF, 0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2,  //
    0x470000, 0x472100, 0x474700, 0x324700, 0x004700, 0x00472C, 0x004747, 0x002747,
    0x000047, 0x2E0047, 0x470047, 0x47002A,  //
    0x740000, 0x743A00, 0x747400, 0x517400, 0x007400, 0x007449, 0x007474, 0x004074,
    0x000074, 0x4B0074, 0x740074, 0x740045,  //
    0xB50000, 0xB56300, 0xB5B500, 0x7DB500, 0x00B500, 0x00B571, 0x00B5B5, 0x0063B5,
    0x0000B5, 0x7500B5, 0xB500B5, 0xB5006B,  //
    0xFF0000, 0xFF8C00, 0xFFFF00, 0xB2FF00, 0x00FF00, 0x00FFA0, 0x00FFFF, 0x008CFF,
    0x0000FF, 0xA500FF, 0xFF00FF, 0xFF0098,  //
    0xFF5959, 0xFFB459, 0xFFFF71, 0xCFFF60, 0x6FFF6F, 0x65FFC9, 0x6DFFFF, 0x59B4FF,
    0x5959FF, 0xC459FF, 0xFF66FF, 0xFF59BC,  //
    0xFF9C9C, 0xFFD39C, 0xFFFF9C, 0xE2FF9C, 0x9CFF9C, 0x9CFFDB, 0x9CFFFF, 0x9CD3FF,
    0x9C9CFF, 0xDC9CFF, 0xFF9CFF, 0xFF94D3,  //
    0x000000, 0x131313, 0x282828, 0x363636, 0x4D4D4D, 0x656565, 0x818181, 0x9F9F9F,
    0xBCBCBC, 0xE2E2E2, 0xFFFFFF,
};

constexpr char kBold = '\x02', kItalic = '\x1D', kUnderline = '\x1F', kStrike = '\x1E', kReset = '\x0F';

struct Lab {
  double l, a, b;
};

// An sRGB component (0 to 255) as linear light, from a table made once.
double linear(int component) {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double c = static_cast<double>(i) / 255.0;
      values[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return values;
  }();
  return table[static_cast<std::size_t>(component & 0xFF)];
}

Lab labOf(engine::ColourNumber colour) {
  const double r = linear(engine::redOf(colour)), g = linear(engine::greenOf(colour)),
               b = linear(engine::blueOf(colour));
  const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
  const auto f = [](double t) {
    constexpr double d = 6.0 / 29.0;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
  };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// What a client shows: each colour as the text of its code's parameter, nothing for the
// client's own.
struct Shown {
  std::optional<std::string> text, background;
  bool bold = false, italic = false, underline = false, strike = false;
  bool operator==(const Shown&) const = default;
};

// The last colour code written, if nothing followed it yet: a bare one, or a text colour alone.
enum class OpenCode { None, Bare, TextOnly };

class IrcWriter {
 public:
  explicit IrcWriter(IrcColours colours) : colours_(colours) {}

  Shown wanted(const engine::CharFormat& format) const {
    Shown w{parameter(format.textColour),
            parameter(format.background),
            format.bold,
            format.italic,
            format.underline,
            format.strike};
    if (colours_ == IrcColours::Hex && w.background && !w.text) w.text = "000000";
    return w;
  }

  // The codes that take the client from what it shows to w, before the character next.
  std::string change(const Shown& w, char32_t next) {
    std::string out;
    OpenCode open = OpenCode::None;
    if ((shown_.text && !w.text) || (shown_.background && !w.background)) {
      out += code();
      shown_.text.reset();
      shown_.background.reset();
      open = OpenCode::Bare;
    }
    if (w.background != shown_.background) {
      out += code() + w.text.value_or("99") + "," + *w.background;
      open = OpenCode::None;
    } else if (w.text != shown_.text) {
      out += code() + *w.text;
      open = OpenCode::TextOnly;
    }
    const std::size_t colourEnd = out.size();
    toggle(out, shown_.bold, w.bold, kBold);
    toggle(out, shown_.italic, w.italic, kItalic);
    toggle(out, shown_.underline, w.underline, kUnderline);
    toggle(out, shown_.strike, w.strike, kStrike);
    if (out.size() == colourEnd && lengthens(open, next)) out += {kBold, kBold};
    shown_ = w;
    return out;
  }

  void lineBreak() { shown_ = Shown{}; }
  bool anythingShown() const { return shown_ != Shown{}; }

 private:
  std::string code() const { return colours_ == IrcColours::Hex ? "\x04" : "\x03"; }

  std::optional<std::string> parameter(const engine::BoxColour& colour) const {
    if (!colour) return std::nullopt;
    if (colours_ == IrcColours::Hex) return hexDigits(*colour);
    const int n = nearestIrcColour(*colour);
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
  }

  static void toggle(std::string& out, bool from, bool to, char code) {
    if (from != to) out += code;
  }

  // Whether the character next, written right after the code, would be read as part of it.
  bool lengthens(OpenCode open, char32_t next) const {
    const bool digit =
        next < 0x80 && (colours_ == IrcColours::Hex ? std::isxdigit(static_cast<int>(next)) != 0
                                                    : std::isdigit(static_cast<int>(next)) != 0);
    if (open == OpenCode::Bare) return digit || next == U',';
    if (open == OpenCode::TextOnly) return next == U',';
    return false;
  }

  IrcColours colours_;
  Shown shown_;
};

}  // namespace

engine::ColourNumber ircPaletteColour(int n) {
  const std::uint32_t rgb = kPaletteRgb.at(static_cast<std::size_t>(n));
  return engine::makeColour(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF),
                            static_cast<int>(rgb & 0xFF));
}

int nearestIrcColour(engine::ColourNumber colour) {
  static const std::array<Lab, kIrcPaletteSize> palette = [] {
    std::array<Lab, kIrcPaletteSize> labs{};
    for (int n = 0; n < kIrcPaletteSize; ++n) labs[static_cast<std::size_t>(n)] = labOf(ircPaletteColour(n));
    return labs;
  }();
  const Lab lab = labOf(colour);
  int nearest = 0;
  double nearestDistance = 0;
  for (int n = 0; n < kIrcPaletteSize; ++n) {
    const Lab& p = palette[static_cast<std::size_t>(n)];
    const double distance =
        (p.l - lab.l) * (p.l - lab.l) + (p.a - lab.a) * (p.a - lab.a) + (p.b - lab.b) * (p.b - lab.b);
    if (n == 0 || distance < nearestDistance) {
      nearest = n;
      nearestDistance = distance;
    }
  }
  return nearest;
}

std::string writeIrc(const engine::StyledText& text, IrcColours colours, TextEnd end) {
  IrcWriter writer(colours);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const engine::StyledChar c = text[i];
    if (engine::isLineBreakChar(c.ch)) {
      out += '\n';
      writer.lineBreak();
      i = lineBreakEnd(text, i);
      continue;
    }
    const char32_t shown = writableChar(c.ch);
    out += writer.change(writer.wanted(c.format), shown);
    engine::appendUtf8(out, shown);
  }
  if (end == TextEnd::Reset && writer.anythingShown()) out += kReset;
  return out;
}

}  // namespace tessalune::targets
