#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_context.h"
#include "engine/direct_colouring.h"
#include "engine/gradient.h"
#include "engine/style_preset.h"

namespace tessalune::engine {

// How one side, the text colour or the background, is coloured when a text is coloured
// directly: not at all (backgrounds only), one colour, a saved style's gradient preset, or
// a gradient through stops.
struct SideStyle {
  enum class Kind { None, Solid, Preset, Stops };
  Kind kind = Kind::None;
  ColourNumber solid = 0;
  GradientPreset preset = GradientPreset::Grad1;  // of colour1 and colour2
  ColourNumber colour1 = 0;
  ColourNumber colour2 = 0;
  StopGradient gradient;
};

// A side's style as text: "none" (backgrounds only), "solid:#RRGGBB", "gradN:#RRGGBB:#RRGGBB"
// (preset N, 1 to 4), "grad:#RRGGBB:#RRGGBB[:#RRGGBB...]" (2 to 10 stops, linear),
// "mirror:..." (the same, mirrored) or "rainbow". Either the style or why it is not one.
struct ParsedSideStyle {
  std::optional<SideStyle> style;
  std::string error;
};
ParsedSideStyle parseSideStyle(std::string_view text, bool background);

// What the forms are, for help texts and error lines.
inline constexpr std::string_view kSideStyleForms =
    "solid:#RRGGBB, gradN:#RRGGBB:#RRGGBB (N 1-4), grad:#RRGGBB:#RRGGBB[:...], mirror:#RRGGBB:#RRGGBB[:...] "
    "or "
    "rainbow";

// Colours argument as a command with an argument does (see colourArgument), with a style
// for each side. Styles a saved preset can hold take exactly the saved preset's path.
std::string colourWithStyles(std::string_view argument, const SideStyle& text, const SideStyle& background,
                             RichTextBox& autoBox, ConversionContext& ctx,
                             const WholeTextFormats& formats = {});

}  // namespace tessalune::engine
