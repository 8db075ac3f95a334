#pragma once

#include "engine/colour.h"
#include "engine/rich_text_box.h"
#include "errors/routine_guard.h"

namespace tessalune::engine {

// What painting needs besides the target box: the hidden scratch box in which every
// character is painted (the target is rewritten once, at the end) and the failure
// context.
struct PaintContext {
  RichTextBox& scratch;
  errors::FailureContext& failures;
};

enum class GradientKind : int { Linear = 1, Mirrored = 2 };
enum class PaintTarget : int { Text = 1, Background = 2 };

// Paints a two-colour gradient over the characters first to end - 1 of box: kind 1
// runs from colour1 to colour2, kind 2 from colour1 at both ends to colour2 in the
// middle; target 1 paints the text colour, 2 the background. count must equal
// end - first. Components step by repeated double-precision addition and are truncated
// toward zero. The arguments are 16-bit numbers: one outside that range is an overflow
// failure, reported as "doGradient", and the box is left unchanged.
void doGradient(RichTextBox& box, int first, int end, ColourNumber colour1, ColourNumber colour2, int count,
                int kind, int target, PaintContext& ctx);

// One colour over the whole text of box (the "solid" style).
void applySolidStyle(RichTextBox& box, ColourNumber colour, PaintTarget target, PaintContext& ctx);

// The four gradient presets: colours in the order the preset passes them, and its kind.
struct GradientPreset {
  ColourNumber first;
  ColourNumber second;
  GradientKind kind;
};
// preset is 1 to 4 ("grad1" to "grad4"); colour1 and colour2 are the user's two colours.
GradientPreset gradientPreset(int preset, ColourNumber colour1, ColourNumber colour2);

}  // namespace tessalune::engine
