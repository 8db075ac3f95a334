#pragma once

#include <string>

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

}  // namespace tessalune::engine
