#include "engine/direct_colouring.h"

#include "engine/gradient.h"
#include "engine/rtf2xml.h"

namespace tessalune::engine {

namespace {

// A solid colour or one of the four gradient presets over the whole box; a gradient type
// outside 1 to 4 (no option selected) paints nothing.
void paint(RichTextBox& box, bool solid, ColourNumber solidColour, int gradientType, ColourNumber colour1,
           ColourNumber colour2, PaintTarget target, PaintContext& paintContext) {
  if (solid) {
    applySolidStyle(box, solidColour, target, paintContext);
    return;
  }
  if (gradientType < 1 || gradientType > 4) return;
  const GradientPreset preset = gradientPreset(gradientType, colour1, colour2);
  const int length = box.length();
  doGradient(box, 0, length, preset.first, preset.second, length, static_cast<int>(preset.kind),
             static_cast<int>(target), paintContext);
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
  if (refuseTooLong(autoBox.length(), ctx)) return {};

  PaintContext paintContext{ctx.scratch, ctx.failures};
  paint(autoBox, preset.FGtype == 1, preset.FGcolor, preset.FGgradtype, preset.FGgrad1, preset.FGgrad2,
        PaintTarget::Text, paintContext);
  if (preset.BGtype != 0) {
    paint(autoBox, preset.BGtype == 1, preset.BGcolor, preset.BGgradtype, preset.BGgrad1, preset.BGgrad2,
          PaintTarget::Background, paintContext);
  }
  applyWholeTextFormats(autoBox, formats);
  return rtf2plus(autoBox, preset.BGtype != 0 ? 1 : 0, ctx);
}

}  // namespace tessalune::engine
