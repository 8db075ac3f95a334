#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/limits.h"

namespace tessalune::purple {

// The longest received message shown in colour, in characters with its codes: a Plus!
// client sends at most kTextLimit, and twice that leaves room for what a client adds.
// Longer text shows as it came, so that no message costs the client more to lay out than a
// Plus! conversation could hold.
inline constexpr std::size_t kColouredMessageLimit = 2 * engine::kTextLimit;

// Received Plus! text as the conversation shows it (chat tags, one run per format); nothing
// for text without a code, or longer than kColouredMessageLimit.
std::optional<std::string> renderReceivedText(std::string_view text);

}  // namespace tessalune::purple
