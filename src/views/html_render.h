#pragma once

#include <string>

#include "engine/styled_text.h"

namespace tessalune::views {

// Styled characters as an HTML fragment: runs of equal format in <span style="...">, the
// text escaped, line breaks as <br>.
std::string renderHtml(const engine::StyledText& text);

}  // namespace tessalune::views
