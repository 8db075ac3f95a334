#pragma once

#include <optional>

#include "engine/conversion_context.h"
#include "targets/target_table.h"

namespace tessalune::targets {

// What the length reduction fits a result to when it is written in a target's codes: the
// target's limit for the mode (or the user's, a positive one) in the target's unit, measured
// on the text written in its codes. Nothing for Plus! codes at their own limits: the
// reduction then measures Plus! text as it always has.
std::optional<engine::LengthFit> lengthFit(Target target, engine::EditorMode mode, int userLimit = 0);

}  // namespace tessalune::targets
