#include "engine/direct_colouring.h"

#include "engine/gradient.h"
#include "engine/rtf2xml.h"

namespace tessalune::engine {

namespace {

// A solid colour or one of the four gradient presets over the whole box: any kind but
// solid paints the side's gradient, and a preset that is none of the four (no option
// selected) paints nothing.
void paint(RichTextBox& box, StyleKind kind, ColourNumber solidColour, GradientPreset gradientType,
           ColourNumber colour1, ColourNumber colour2, PaintTarget target, PaintContext& paintContext) {
  if (kind == StyleKind::Solid) {
    applySolidStyle(box, solidColour, target, paintContext);
    return;
  }
  if (!isGradientPreset(gradientType)) return;
  const TwoColourGradient gradient = presetGradient(gradientType, colour1, colour2);
  const int length = box.length();
  doGradient(box, 0, length, gradient.first, gradient.second, length, gradient.kind, target, paintContext);
}

}  // namespace

void setPlainText(RichTextBox& autoBox, std::string_view argument) {
  autoBox.setText(argument);
  autoBox.select(0, autoBox.length());
  autoBox.setSelColor(ColourNumber{0});
  autoBox.setSelBold(false);
  autoBox.setSelItalic(false);
  autoBox.setSelUnderline(false);
  autoBox.setSelStrikeThru(false);
  SetSelBackColor(ColourNumber{0xFFFFFF}, autoBox);
}

void applyWholeTextFormats(RichTextBox& box, const WholeTextFormats& formats) {
  box.select(0, box.length());
  if (formats.bold) box.setSelBold(true);
  if (formats.italic) box.setSelItalic(true);
  if (formats.underline) box.setSelUnderline(true);
  if (formats.strike) box.setSelStrikeThru(true);
}

std::string colourArgument(std::string_view argument, const StylePreset& preset, RichTextBox& autoBox,
                           ConversionContext& ctx, const WholeTextFormats& formats) {
  setPlainText(autoBox, argument);
  // A text over the limit is refused before it is painted: a gradient's positions are
  // 16-bit, so painting a long one would fail as if the plug-in were broken.
  if (refuseTooLong(autoBox, ctx)) return {};

  PaintContext paintContext{ctx.scratch, ctx.failures};
  paint(autoBox, preset.FGtype, preset.FGcolor, preset.FGgradtype, preset.FGgrad1, preset.FGgrad2,
        PaintTarget::Text, paintContext);
  const bool background = preset.BGtype != StyleKind::None;
  if (background) {
    paint(autoBox, preset.BGtype, preset.BGcolor, preset.BGgradtype, preset.BGgrad1, preset.BGgrad2,
          PaintTarget::Background, paintContext);
  }
  applyWholeTextFormats(autoBox, formats);
  return rtf2plus(autoBox, background ? 1 : 0, ctx);
}

}  // namespace tessalune::engine
