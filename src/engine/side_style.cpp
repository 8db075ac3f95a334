#include "engine/side_style.h"

#include <vector>

#include "engine/direct_colouring.h"
#include "engine/rtf2xml.h"

namespace tessalune::engine {

namespace {

// The colours of "#RRGGBB:#RRGGBB..." in order, or why they are not.
ParsedSideStyle stopsOf(std::string_view list, GradientKind kind) {
  SideStyle style;
  style.kind = SideStyle::Kind::Stops;
  style.gradient.kind = kind;
  std::size_t count = 0;
  for (std::size_t start = 0;;) {
    const std::size_t end = list.find(':', start);
    const std::string_view item = list.substr(start, end == std::string_view::npos ? end : end - start);
    const std::optional<ColourNumber> colour = colourFromHex(item);
    if (!colour) return {std::nullopt, "'" + std::string(item) + "' is not a colour (#RRGGBB)"};
    if (++count <= kMaxGradientStops) style.gradient.stops.push_back(*colour);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (count < kMinGradientStops || count > kMaxGradientStops) {
    return {std::nullopt, "a gradient goes through 2 to 10 colours, not " + std::to_string(count)};
  }
  return {style, {}};
}

void paintSide(RichTextBox& box, const SideStyle& style, PaintTarget target, PaintContext& paint) {
  switch (style.kind) {
    case SideStyle::Kind::None:
      return;
    case SideStyle::Kind::Solid:
      applySolidStyle(box, style.solid, target, paint);
      return;
    case SideStyle::Kind::Preset: {
      const TwoColourGradient preset = presetGradient(style.preset, style.colour1, style.colour2);
      paintStopGradient(box, StopGradient{{preset.first, preset.second}, preset.kind}, target, paint);
      return;
    }
    case SideStyle::Kind::Stops:
      paintStopGradient(box, style.gradient, target, paint);
      return;
  }
}

bool savable(const SideStyle& style) {
  return style.kind != SideStyle::Kind::Stops;
}

// The saved preset holding a text and a background style that are not gradients through
// stops.
StylePreset presetOf(const SideStyle& text, const SideStyle& background) {
  StylePreset preset;
  preset.enabled = true;
  preset.FGtype = text.kind == SideStyle::Kind::Solid ? StyleKind::Solid : StyleKind::Gradient;
  preset.FGgradtype = text.preset;
  preset.FGcolor = text.solid;
  preset.FGgrad1 = text.colour1;
  preset.FGgrad2 = text.colour2;
  preset.BGtype = background.kind == SideStyle::Kind::None    ? StyleKind::None
                  : background.kind == SideStyle::Kind::Solid ? StyleKind::Solid
                                                              : StyleKind::Gradient;
  preset.BGgradtype = background.preset;
  preset.BGcolor = background.solid;
  preset.BGgrad1 = background.colour1;
  preset.BGgrad2 = background.colour2;
  return preset;
}

}  // namespace

ParsedSideStyle parseSideStyle(std::string_view text, bool background) {
  const std::string expected =
      "expected " + std::string(background ? "none, " : "") + std::string(kSideStyleForms);
  if (text == "none") {
    return background ? ParsedSideStyle{SideStyle{}, {}} : ParsedSideStyle{std::nullopt, expected};
  }
  if (text == "rainbow") {
    SideStyle style;
    style.kind = SideStyle::Kind::Stops;
    style.gradient.stops.assign(kRainbowStops.begin(), kRainbowStops.end());
    return {style, {}};
  }
  if (text.starts_with("solid:")) {
    const std::optional<ColourNumber> colour = colourFromHex(text.substr(6));
    if (!colour) return {std::nullopt, "'" + std::string(text.substr(6)) + "' is not a colour (#RRGGBB)"};
    SideStyle style;
    style.kind = SideStyle::Kind::Solid;
    style.solid = *colour;
    return {style, {}};
  }
  if (text.starts_with("grad:")) return stopsOf(text.substr(5), GradientKind::Linear);
  if (text.starts_with("mirror:")) return stopsOf(text.substr(7), GradientKind::Mirrored);
  if (text.size() > 6 && text.starts_with("grad") && text[4] >= '1' && text[4] <= '4' && text[5] == ':') {
    ParsedSideStyle two = stopsOf(text.substr(6), GradientKind::Linear);
    if (!two.style) return two;
    if (two.style->gradient.stops.size() != 2) {
      return {std::nullopt,
              "a preset gradient takes 2 colours, not " + std::to_string(two.style->gradient.stops.size())};
    }
    SideStyle style;
    style.kind = SideStyle::Kind::Preset;
    style.preset = *gradientPresetNumbered(text[4] - '0');
    style.colour1 = two.style->gradient.stops[0];
    style.colour2 = two.style->gradient.stops[1];
    return {style, {}};
  }
  return {std::nullopt, expected};
}

std::string colourWithStyles(std::string_view argument, const SideStyle& text, const SideStyle& background,
                             RichTextBox& autoBox, ConversionContext& ctx, const WholeTextFormats& formats) {
  if (savable(text) && text.kind != SideStyle::Kind::None && savable(background)) {
    return colourArgument(argument, presetOf(text, background), autoBox, ctx, formats);
  }
  setPlainText(autoBox, argument);
  if (refuseTooLong(autoBox, ctx)) return {};
  PaintContext paint{ctx.scratch, ctx.failures};
  paintSide(autoBox, text, PaintTarget::Text, paint);
  paintSide(autoBox, background, PaintTarget::Background, paint);
  applyWholeTextFormats(autoBox, formats);
  return rtf2plus(autoBox, background.kind != SideStyle::Kind::None ? 1 : 0, ctx);
}

}  // namespace tessalune::engine
