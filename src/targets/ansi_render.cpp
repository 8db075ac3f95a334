#include "targets/ansi_render.h"

#include <string_view>

#include "engine/colour.h"
#include "engine/utf8.h"

namespace tessalune::targets {

namespace {

// Rendered text is handed on in parts of about this many bytes.
constexpr std::size_t kOutputPart = 64 * 1024;

using engine::BoxColour;
using engine::CharFormat;

void addParameter(std::string& parameters, std::string_view parameter) {
  if (!parameters.empty()) parameters += ';';
  parameters += parameter;
}

void addToggle(std::string& parameters, bool from, bool to, std::string_view on, std::string_view off) {
  if (from != to) addParameter(parameters, to ? on : off);
}

// base is 38 for the text colour, 48 for the background; base + 1 is the terminal's default.
void addColour(std::string& parameters, const BoxColour& from, const BoxColour& to, int base) {
  if (from == to) return;
  if (!to) {
    addParameter(parameters, std::to_string(base + 1));
    return;
  }
  addParameter(parameters, std::to_string(base) + ";2;" + std::to_string(engine::redOf(*to)) + ";" +
                               std::to_string(engine::greenOf(*to)) + ";" +
                               std::to_string(engine::blueOf(*to)));
}

// The SGR parameters that take the terminal from one format to the other; empty when they agree.
std::string changeOf(const CharFormat& from, const CharFormat& to) {
  std::string parameters;
  addToggle(parameters, from.bold, to.bold, "1", "22");
  addToggle(parameters, from.italic, to.italic, "3", "23");
  addToggle(parameters, from.underline, to.underline, "4", "24");
  addToggle(parameters, from.strike, to.strike, "9", "29");
  addColour(parameters, from.textColour, to.textColour, 38);
  addColour(parameters, from.background, to.background, 48);
  return parameters;
}

}  // namespace

void renderAnsi(const engine::StyledText& text, AnsiMode mode,
                const std::function<void(std::string_view)>& write) {
  std::string out;
  CharFormat shown;  // what the terminal shows now: its defaults at first
  bool styled = false;
  const auto show = [&](const CharFormat& format) {
    if (mode == AnsiMode::Plain) return;
    const std::string parameters = changeOf(shown, format);
    if (parameters.empty()) return;
    out += "\x1b[" + parameters + "m";
    shown = format;
    styled = true;
  };

  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i].ch;
    if (engine::isLineBreakChar(c)) {
      CharFormat lineEnd = shown;
      lineEnd.background.reset();
      show(lineEnd);
      out += '\n';
      if (c == U'\r' && i + 1 < text.size() && text[i + 1].ch == U'\n') ++i;
      continue;
    }
    CharFormat format = text[i].format;
    // On paper: what has no colour of its own is black on white, whatever the terminal's theme.
    if (!format.textColour) format.textColour = 0x000000;
    if (!format.background) format.background = 0xFFFFFF;
    show(format);
    engine::appendUtf8(out, actsOnTerminal(c) ? U'\uFFFD' : c);
    if (out.size() >= kOutputPart) {
      write(out);
      out.clear();
    }
  }
  if (styled) out += "\x1b[0m";
  write(out);
}

std::string renderAnsi(const engine::StyledText& text, AnsiMode mode) {
  std::string out;
  renderAnsi(text, mode, [&](std::string_view part) { out += part; });
  return out;
}

}  // namespace tessalune::targets
