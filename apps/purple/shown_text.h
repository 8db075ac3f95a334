#pragma once

#include <optional>
#include <string>

#include "engine/colour.h"

namespace tessalune::purple {

// A message as the client is about to show it (HTML), with its Plus! codes rendered in
// colour: black text on light paper, as Plus! text is made for. Nothing when it holds no
// code or is too long to show in colour, so that such messages stay exactly as they came.
std::optional<std::string> renderShownMessage(const char* html);

// The background the client draws names on, as its GTK theme gives it; GTK's own window grey
// when the theme names no colour, and where there is no GTK.
engine::ColourNumber clientBackground();

// Plus! text rendered in colour the same way, codes or not.
std::string renderPlus(const std::string& plus);

}  // namespace tessalune::purple
