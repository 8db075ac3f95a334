#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/colour.h"
#include "engine/limits.h"
#include "engine/rich_text_box.h"
#include "engine/style_preset.h"
#include "errors/routine_guard.h"

namespace tessalune::engine {

// What painting needs besides the target box: the hidden scratch box in which every
// character is painted (the target is rewritten once, at the end) and the failure
// context.
struct PaintContext {
  RichTextBox& scratch;
  errors::FailureContext& failures;
};

// The shape of a gradient: from its first colour to its second, or from the first at both
// ends to the second in the middle.
enum class GradientKind : int { Linear = 1, Mirrored = 2 };
// What painting colours: the characters or their background.
enum class PaintTarget : int { Text = 1, Background = 2 };

// Paints a two-colour gradient of the given kind over the characters first to end - 1 of
// box, in the text colour or the background. count must equal end - first. Components
// step by repeated double-precision addition and are truncated toward zero. The positions
// are 16-bit numbers: one outside that range is an overflow failure, reported as
// "doGradient", and the box is left unchanged: a caller that may hold a longer text checks
// its run against kMaxGradientEnd first.
void doGradient(RichTextBox& box, int first, int end, ColourNumber colour1, ColourNumber colour2, int count,
                GradientKind kind, PaintTarget target, PaintContext& ctx);

// A gradient through 2 to 10 colours, the stops. Linear: with k stops over n characters the
// boundaries are b_j = floor(j(n-1)/(k-1) + 1/2); characters b_j to b_(j+1) run from stop j
// to stop j+1 as the two-colour linear gradient runs, and every inner boundary takes its
// stop exactly; with fewer characters than stops, character i takes stop
// floor(i(k-1)/(n-1) + 1/2). Mirrored: the linear gradient over the first ceil(n/2)
// characters, reflected onto the rest. With two stops both are doGradient's two kinds.
struct StopGradient {
  std::vector<ColourNumber> stops;
  GradientKind kind = GradientKind::Linear;
};

// Red, orange, yellow, green, blue, indigo, violet.
inline constexpr std::array<ColourNumber, 7> kRainbowStops = {
    makeColour(0xFF, 0x00, 0x00), makeColour(0xFF, 0x7F, 0x00), makeColour(0xFF, 0xFF, 0x00),
    makeColour(0x00, 0xFF, 0x00), makeColour(0x00, 0x00, 0xFF), makeColour(0x4B, 0x00, 0x82),
    makeColour(0x94, 0x00, 0xD3)};

// The colour of each of n characters (none for n <= 0); gradient has 2 to 10 stops.
std::vector<ColourNumber> stopGradientColours(int n, const StopGradient& gradient);

// Paints the gradient over the whole text of box, through the scratch box as doGradient
// paints.
void paintStopGradient(RichTextBox& box, const StopGradient& gradient, PaintTarget target, PaintContext& ctx);

// One colour over the whole text of box (the "solid" style).
void applySolidStyle(RichTextBox& box, ColourNumber colour, PaintTarget target, PaintContext& ctx);

// A two-colour gradient as doGradient paints it: its colours in the order passed, and its
// kind.
struct TwoColourGradient {
  ColourNumber first;
  ColourNumber second;
  GradientKind kind;
};
// What a preset paints of the user's two colours.
TwoColourGradient presetGradient(GradientPreset preset, ColourNumber colour1, ColourNumber colour2);

}  // namespace tessalune::engine
