#include "targets/styled_writing.h"

#include "targets/ansi_render.h"

namespace tessalune::targets {

std::string hexDigits(engine::ColourNumber colour) {
  return engine::rgb2hex(colour).substr(1);
}

char32_t writableChar(char32_t c) {
  return actsOnTerminal(c) ? U'\uFFFD' : c;
}

std::size_t lineBreakEnd(const engine::StyledText& text, std::size_t i) {
  if (text[i].ch == U'\r' && i + 1 < text.size() && text[i + 1].ch == U'\n') return i + 1;
  return i;
}

}  // namespace tessalune::targets
