#include "engine/styled_text.h"

namespace tessalune::engine {

void normaliseLineBreaks(StyledText& text) {
  StyledText out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const StyledChar& c = text[i];
    if (!isLineBreakChar(c.ch)) {
      out.push_back(c);
      continue;
    }
    out.push_back({U'\r', c.format});
    out.push_back({U'\n', c.format});
    if (c.ch == U'\r' && i + 1 < text.size() && text[i + 1].ch == U'\n') ++i;
  }
  text.swap(out);
}

}  // namespace tessalune::engine
