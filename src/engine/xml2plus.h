#pragma once

#include <string>
#include <string_view>

#include "errors/routine_guard.h"

namespace tessalune::engine {

// Turns styled-text markup (a serialized document, or a body without its root) into
// Plus! text by a fixed sequence of whole-string replacements; it does not parse XML,
// so anything no step recognises passes through as text. Failures are reported as
// "xml2plus" and give an empty text.
std::string xml2plus(std::string_view markup, errors::FailureContext& ctx);

// The same conversion without a failure report (it may throw std::bad_alloc).
std::string xml2plus(std::string_view markup);

}  // namespace tessalune::engine
