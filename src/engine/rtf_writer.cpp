#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "engine/rtf_colour_table.h"
#include "engine/styled_text.h"

namespace tessalune::engine {

namespace {

class ColourTable : public RtfColourTable {
 public:
  using RtfColourTable::indexOf;
  std::size_t indexOf(const BoxColour& colour) { return colour ? indexOf(*colour) : 0; }
};

// The control words that take the format `from` to `to`, in the dialect's fixed order.
std::string formatWords(const CharFormat& from, const CharFormat& to, ColourTable& table) {
  std::string words;
  if (from.textColour != to.textColour) words += "\\cf" + std::to_string(table.indexOf(to.textColour));
  if (from.background != to.background) words += "\\highlight" + std::to_string(table.indexOf(to.background));
  if (from.bold != to.bold) words += to.bold ? "\\b" : "\\b0";
  if (from.italic != to.italic) words += to.italic ? "\\i" : "\\i0";
  if (from.underline != to.underline) words += to.underline ? "\\ul" : "\\ulnone";
  if (from.strike != to.strike) words += to.strike ? "\\strike" : "\\strike0";
  return words;
}

void appendHexEscape(std::string& out, unsigned int byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out.push_back(kDigits[(byte >> 4) & 0xF]);
  out.push_back(kDigits[byte & 0xF]);
}

void appendUnicodeEscape(std::string& out, char32_t c) {
  auto unit = [&](unsigned int u) { out += "\\u" + std::to_string(static_cast<std::int16_t>(u)) + "?"; };
  if (c < 0x10000) {
    unit(c);
  } else {
    const char32_t v = c - 0x10000;
    unit(0xD800 + (v >> 10));
    unit(0xDC00 + (v & 0x3FF));
  }
}

// Appends c as the dialect writes it; returns false when it was written as an escape.
bool appendChar(std::string& out, char32_t c) {
  if (c == U'\\' || c == U'{' || c == U'}') {
    out.push_back('\\');
    out.push_back(static_cast<char>(c));
    return false;
  }
  if (c < 0x20) {
    appendHexEscape(out, c);
    return false;
  }
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return true;
  }
  if (const auto byte = unicodeToCp1252(c)) {
    appendHexEscape(out, *byte);
  } else {
    appendUnicodeEscape(out, c);
  }
  return false;
}

}  // namespace

std::string writeRtf(const StyledText& text) {
  ColourTable table;
  for (const StyledChar& c : text) {
    if (isLineBreakChar(c.ch)) continue;
    table.indexOf(c.format.textColour);
    table.indexOf(c.format.background);
  }

  std::string body;
  body.reserve(text.size() * 2);
  bool beganAsItself = false;
  CharFormat inForce;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const StyledChar& c = text[i];
    if (c.ch == U'\r' && i + 1 < text.size() && text[i + 1].ch == U'\n') {
      body += "\\par\r\n";
      ++i;
      continue;
    }
    const bool atBodyStart = body.empty();
    bool wordsWritten = false;
    if (!isLineBreakChar(c.ch) && c.format != inForce) {
      body += formatWords(inForce, c.format, table);
      body.push_back(' ');
      inForce = c.format;
      wordsWritten = true;
    }
    const bool asItself = appendChar(body, c.ch);
    if (atBodyStart) beganAsItself = asItself && !wordsWritten;
  }
  body += formatWords(inForce, CharFormat{}, table);

  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n";
  if (!table.empty()) out += table.text() + "\r\n";
  out += "\\viewkind4\\uc1\\pard\\lang1033\\fs20";
  if (beganAsItself) out.push_back(' ');
  out += body;
  out += "\\par\r\n}\r\n";
  out.push_back('\0');
  return out;
}

}  // namespace tessalune::engine
