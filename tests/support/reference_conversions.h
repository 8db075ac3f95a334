#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/editor_mode.h"
#include "engine/rich_text_box.h"

namespace tessalune::testing {

// The conversions as their documented steps, one whole-text replacement or box operation
// after another, without the fused passes or the direct box copy that make the real ones
// fast: the references those are held to on random texts.

// plus2rtf: the replacements, then the scan character by character.
std::string plus2rtfBySteps(std::string_view plus);

// xml2plus: its ten whole-text replacements in order.
std::string xml2plusBySteps(std::string markup);

// What rtf2xml is told besides the box; every question is answered yes.
struct ReferenceOptions {
  engine::EditorMode mode;
  bool noEnd;
  std::int16_t backgroundFlag;
};

// rtf2xml: the box's RTF copied into a scratch box through the RTF writer and reader, the
// protective recolouring done with selections, the RTF text rewritten step by step and
// the colours thinned by converting the whole document at every pass. "" where rtf2xml
// refuses, fails or drops every colour.
std::string rtf2xmlBySteps(const engine::RichTextBox& box, const ReferenceOptions& options);

}  // namespace tessalune::testing
