#pragma once

#include <string>
#include <string_view>

#include "targets/target_table.h"

namespace tessalune::targets {

// Plus! text written in a target's codes: Plus! text stays as it is; every other target is
// written from the styled characters the Plus! text shows (as every host reads it), so the
// colours and formats a reader sees are the ones a Plus! client would show.
std::string writeTarget(Target target, std::string_view plus);

}  // namespace tessalune::targets
