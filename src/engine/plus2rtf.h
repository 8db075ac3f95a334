#pragma once

#include <string>
#include <string_view>

#include "errors/routine_guard.h"

namespace tessalune::engine {

// Turns Plus! text into an RTF document that a rich-text box can show: one font, a
// colour table that always starts with white, and the words \b \i \ul \strike \cf
// \highlight \par. Malformed codes are not errors: their dot is dropped. Failures are
// reported as "plus2rtf" and give an empty text.
std::string plus2rtf(std::string_view plusText, errors::FailureContext& ctx);

// The same conversion without a failure report.
std::string plus2rtf(std::string_view plusText);

}  // namespace tessalune::engine
