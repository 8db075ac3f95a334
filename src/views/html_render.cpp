#include "views/html_render.h"

#include "engine/colour.h"
#include "engine/utf8.h"

namespace tessalune::views {

namespace {

// Rendered text is handed on in parts of about this many bytes.
constexpr std::size_t kOutputPart = 64 * 1024;

std::string styleOf(const engine::CharFormat& f) {
  std::string style;
  if (f.textColour) style += "color:" + engine::rgb2hex(*f.textColour) + ";";
  if (f.background) style += "background-color:" + engine::rgb2hex(*f.background) + ";";
  if (f.bold) style += "font-weight:bold;";
  if (f.italic) style += "font-style:italic;";
  if (f.underline || f.strike) {
    style += "text-decoration:";
    style += f.underline && f.strike ? "underline line-through;"
             : f.underline           ? "underline;"
                                     : "line-through;";
  }
  return style;
}

void appendEscaped(std::string& out, char32_t c) {
  switch (c) {
    case U'&':
      out += "&amp;";
      break;
    case U'<':
      out += "&lt;";
      break;
    case U'>':
      out += "&gt;";
      break;
    case U'"':
      out += "&quot;";
      break;
    default:
      engine::appendUtf8(out, c);
  }
}

}  // namespace

void renderHtml(const engine::StyledText& text, const std::function<void(std::string_view)>& write) {
  std::string out;
  bool open = false;
  engine::CharFormat inForce;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const engine::StyledChar& c = text[i];
    if (engine::isLineBreakChar(c.ch)) {
      if (c.ch == U'\n' || i + 1 >= text.size() || text[i + 1].ch != U'\n') out += "<br>\n";
      continue;
    }
    if (!open || c.format != inForce) {
      if (open) out += "</span>";
      out += "<span style=\"" + styleOf(c.format) + "\">";
      open = true;
      inForce = c.format;
    }
    if (c.ch < 0x20 || c.ch == 0x7F) continue;  // nothing a page should receive
    appendEscaped(out, c.ch);
    if (out.size() >= kOutputPart) {
      write(out);
      out.clear();
    }
  }
  if (open) out += "</span>";
  write(out);
}

std::string renderHtml(const engine::StyledText& text) {
  std::string out;
  renderHtml(text, [&](std::string_view part) { out += part; });
  return out;
}

}  // namespace tessalune::views
