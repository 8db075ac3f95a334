#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/styled_text.h"

namespace tessalune::views {

// Styled characters as an HTML fragment: runs of equal format in <span style="...">, the
// text escaped, line breaks as <br>.
std::string renderHtml(const engine::StyledText& text);
// The same, given to write in parts as it is made.
void renderHtml(const engine::StyledText& text, const std::function<void(std::string_view)>& write);

}  // namespace tessalune::views
