#include "targets/html_render.h"

#include "engine/colour.h"
#include "engine/plus_to_styled_text.h"
#include "engine/utf8.h"

namespace tessalune::targets {

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

std::string pangoAttributesOf(const engine::CharFormat& f) {
  std::string attributes;
  if (f.textColour) attributes += " foreground=\"" + engine::rgb2hex(*f.textColour) + "\"";
  if (f.background) attributes += " background=\"" + engine::rgb2hex(*f.background) + "\"";
  if (f.bold) attributes += " weight=\"bold\"";
  if (f.italic) attributes += " style=\"italic\"";
  if (f.underline) attributes += " underline=\"single\"";
  if (f.strike) attributes += " strikethrough=\"true\"";
  return attributes;
}

// What opens a run of format f, and what closes it.
std::pair<std::string, std::string> runTags(const engine::CharFormat& f, HtmlMarkup markup) {
  if (markup == HtmlMarkup::Styles) return {"<span style=\"" + styleOf(f) + "\">", "</span>"};
  if (markup == HtmlMarkup::Pango) return {"<span" + pangoAttributesOf(f) + ">", "</span>"};
  std::string open, close;
  if (f.textColour || f.background) {
    open += "<font";
    if (f.textColour) open += " color=\"" + engine::rgb2hex(*f.textColour) + "\"";
    if (f.background) open += " back=\"" + engine::rgb2hex(*f.background) + "\"";
    open += ">";
    close = "</font>";
  }
  for (const auto& [on, tag] : {std::pair{f.bold, "b"}, std::pair{f.italic, "i"}, std::pair{f.underline, "u"},
                                std::pair{f.strike, "s"}}) {
    if (!on) continue;
    open += std::string("<") + tag + ">";
    close.insert(0, std::string("</") + tag + ">");
  }
  return {open, close};
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

void renderHtml(const engine::StyledText& text, const std::function<void(std::string_view)>& write,
                HtmlMarkup markup) {
  std::string out;
  bool open = false;
  engine::CharFormat inForce;
  std::string closing;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const engine::StyledChar& c = text[i];
    if (engine::isLineBreakChar(c.ch)) {
      if (c.ch == U'\n' || i + 1 >= text.size() || text[i + 1].ch != U'\n') {
        out += markup == HtmlMarkup::Pango ? "\n" : "<br>\n";
      }
      continue;
    }
    if (!open || c.format != inForce) {
      if (open) out += closing;
      auto [opening, nextClosing] = runTags(c.format, markup);
      out += opening;
      closing = std::move(nextClosing);
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
  if (open) out += closing;
  write(out);
}

std::string renderHtml(const engine::StyledText& text, HtmlMarkup markup) {
  std::string out;
  renderHtml(
      text, [&](std::string_view part) { out += part; }, markup);
  return out;
}

std::string renderPlusHtml(std::string_view plus, HtmlMarkup markup) {
  return renderHtml(engine::plusToStyledText(std::string(plus)), markup);
}

std::optional<std::string> renderPlusCodes(std::string_view plus, HtmlMarkup markup) {
  // Every code starts with a middle dot, and a code read is gone from the text shown.
  if (plus.find("\xC2\xB7") == std::string_view::npos) return std::nullopt;
  const engine::StyledText text = engine::plusToStyledText(std::string(plus));
  if (text.size() == engine::countChars(plus)) return std::nullopt;
  return renderHtml(text, markup);
}

}  // namespace tessalune::targets
