#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_context.h"
#include "engine/style_preset.h"

namespace tessalune::engine {

// Formats over the whole text, as the editor's format buttons give them with nothing
// selected in a box that has none.
struct WholeTextFormats {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
};

// Puts argument into the box as plain black text on white, whatever the box held before.
void setPlainText(RichTextBox& autoBox, std::string_view argument);

// Colours a command's whole argument with a saved style, without the editor: the argument
// is put into the hidden box autoBox as plain black text on white, painted with the
// preset's text colour and background, and converted to Plus! text in the mode of ctx.
// Returns the coded text, "" when it was refused or declined. ctx.scratch is the hidden
// box in which solid colours and gradients are painted. The formats go over the whole text
// once it is painted.
std::string colourArgument(std::string_view argument, const StylePreset& preset, RichTextBox& autoBox,
                           ConversionContext& ctx, const WholeTextFormats& formats = {});

// Sets each of the formats over the whole box; those not asked for stay as they are.
void applyWholeTextFormats(RichTextBox& box, const WholeTextFormats& formats);

}  // namespace tessalune::engine
