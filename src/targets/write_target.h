#pragma once

#include <string>
#include <string_view>

#include "targets/target_table.h"

namespace tessalune::targets {

// Plus! text written in a target's codes: Plus! text stays as it is; every other target is
// written from the styled characters the Plus! text shows (as every host reads it), so the
// colours and formats a reader sees are the ones a Plus! client would show.
std::string writeTarget(Target target, std::string_view plus);

// Plus! text as the HTML a chat client sends as a formatted message (<font color back>, <b>,
// <i>, <u>, <s>, which clients show where they ignore some CSS), read as writeTarget reads it:
// a background only where the text chose one.
std::string writeChatHtml(std::string_view plus);

}  // namespace tessalune::targets
