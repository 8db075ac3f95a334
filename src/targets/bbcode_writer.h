#pragma once

#include <string>

#include "engine/styled_text.h"

namespace tessalune::targets {

// Styled characters as forum BBCode. The file says how each format is written and in what order.
std::string writeBbcode(const engine::StyledText& text);

}  // namespace tessalune::targets
