#pragma once

#include <string>
#include <string_view>

#include "engine/styled_text.h"
#include "errors/routine_guard.h"

namespace tessalune::engine {

// Plus! text as a rich-text box shows it: the styled characters of the document that
// plus2rtf writes for it, read back as the box reads RTF. Every host that shows Plus! text
// (a preview, a rendered nickname, the editor loading a nickname) reads it this way, so
// they all show the same characters. The text is let go once its RTF is written.
// Failures are reported as "plus2rtf" and give an empty text.
StyledText plusToStyledText(std::string plusText, errors::FailureContext& ctx);

// The same conversion without a failure report.
StyledText plusToStyledText(std::string plusText);

// Whether a Plus! text holds a background code: "·$", an optional colour (a palette number
// or #RRGGBB), then ",". The characters it shows lie on white paper, with or without one, so
// only the codes tell whether the text chose a background.
bool hasBackgroundCode(std::string_view plusText);

}  // namespace tessalune::engine
