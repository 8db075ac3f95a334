#pragma once

#include <functional>
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

// The same document handed to `write` in blocks, in order, for a text too large to hold
// twice: the text is let go once rewritten for the conversion, the colour table that heads
// the document is gathered, and the body is written as it is made. Failures are reported
// as "plus2rtf", and then nothing is written; returns whether the document was written.
bool plus2rtf(std::string plusText, errors::FailureContext& ctx,
              const std::function<void(std::string_view)>& write);
void plus2rtf(std::string plusText, const std::function<void(std::string_view)>& write);

}  // namespace tessalune::engine
