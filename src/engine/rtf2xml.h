#pragma once

#include <cstdint>
#include <string>

#include "engine/conversion_context.h"

namespace tessalune::engine {

// Turns the content of a rich-text box into a styled-text markup document whose Plus!
// form fits the limit of the editor mode (or the context's fit), thinning the colour
// changes when it does not. On the way it keeps emoticons, typed Plus! codes and spaces
// from being split by a colour change. backgroundFlag 1 converts background colours too.
// Returns the serialized document, or "" when the text is refused, the user declines, or
// a failure was reported.
std::string rtf2xml(RichTextBox& box, std::int16_t backgroundFlag, ConversionContext& ctx);

// Shows the too-long message and returns true when the box's plain text is over the mode's
// limit in characters, or, with a fit, over the fit's limit in its unit (without one, over
// the reach of a gradient): the conversion's own first refusal, for callers that would
// otherwise work on a text the conversion is bound to refuse.
bool refuseTooLong(const RichTextBox& box, ConversionContext& ctx);

// xml2plus of rtf2xml; "" when rtf2xml gives "".
std::string rtf2plus(RichTextBox& box, std::int16_t backgroundFlag, ConversionContext& ctx);

}  // namespace tessalune::engine
