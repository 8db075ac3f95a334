#pragma once

#include <string>

#include "engine/styled_text.h"
#include "targets/styled_writing.h"

namespace tessalune::targets {

// Styled characters as MiniMessage tags, as game servers read them. The file says how each
// format is written and in what order.
std::string writeMiniMessage(const engine::StyledText& text, TextEnd end);

}  // namespace tessalune::targets
