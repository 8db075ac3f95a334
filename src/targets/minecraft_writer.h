#pragma once

#include <string>

#include "engine/styled_text.h"
#include "targets/styled_writing.h"

namespace tessalune::targets {

// Styled characters in the "&" codes game servers' chat plug-ins read. The file says how each
// format is written and in what order.
std::string writeMinecraft(const engine::StyledText& text, TextEnd end);

}  // namespace tessalune::targets
