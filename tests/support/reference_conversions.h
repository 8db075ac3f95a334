#pragma once

#include <string>
#include <string_view>

namespace tessalune::testing {

// The conversions as their documented steps, one whole-text replacement after another,
// without the fused passes that make the real ones fast: the references those are held to
// on random texts.

// plus2rtf: the replacements, then the scan character by character.
std::string plus2rtfBySteps(std::string_view plus);

// xml2plus: its ten whole-text replacements in order.
std::string xml2plusBySteps(std::string markup);

}  // namespace tessalune::testing
