#pragma once

#include <array>
#include <optional>

#include "engine/colour.h"

namespace tessalune::engine {

// How one side of a text, its characters or its background, is coloured. The numbers are
// those the configuration stores; the characters are never None.
enum class StyleKind : int { None = 0, Solid = 1, Gradient = 2 };

// The four gradient presets of a side's two colours, "grad1" to "grad4", numbered as the
// configuration stores them: 1 runs from colour 1 to colour 2, 2 from colour 2 to colour 1,
// 3 and 4 are the same two mirrored.
enum class GradientPreset : int { Grad1 = 1, Grad2 = 2, Grad3 = 3, Grad4 = 4 };
inline constexpr std::array<GradientPreset, 4> kGradientPresets = {
    GradientPreset::Grad1, GradientPreset::Grad2, GradientPreset::Grad3, GradientPreset::Grad4};

// The preset numbered n, 1 to 4; nothing for another number.
constexpr std::optional<GradientPreset> gradientPresetNumbered(int n) {
  if (n < 1 || n > 4) return std::nullopt;
  return static_cast<GradientPreset>(n);
}
constexpr int presetNumber(GradientPreset preset) {
  return static_cast<int>(preset);
}
// Whether preset is one of the four: one made from another number is none of them, as when
// no gradient option is selected.
constexpr bool isGradientPreset(GradientPreset preset) {
  return gradientPresetNumbered(presetNumber(preset)).has_value();
}

// A saved style: how a nickname or a message is coloured when its command comes with an
// argument.
struct StylePreset {
  bool enabled = false;
  StyleKind FGtype = StyleKind::Solid;
  GradientPreset FGgradtype = GradientPreset::Grad1;
  ColourNumber FGcolor = 0;
  ColourNumber FGgrad1 = 0;
  ColourNumber FGgrad2 = 0;
  StyleKind BGtype = StyleKind::None;
  GradientPreset BGgradtype = GradientPreset::Grad1;
  ColourNumber BGcolor = 0xFFFFFF;
  ColourNumber BGgrad1 = 0xFFFFFF;
  ColourNumber BGgrad2 = 0xFFFFFF;

  bool operator==(const StylePreset&) const = default;
};

// The style the editor last applied to one side, which it applies again while the whole
// text is styled: none yet, the side's solid colour, or a preset of its two gradient
// colours.
class LastStyle {
 public:
  constexpr LastStyle() = default;
  static constexpr LastStyle solid() { return LastStyle(StyleKind::Solid, GradientPreset::Grad1); }
  static constexpr LastStyle gradient(GradientPreset preset) {
    return LastStyle(StyleKind::Gradient, preset);
  }

  constexpr StyleKind kind() const { return kind_; }
  // The preset of a gradient style.
  constexpr std::optional<GradientPreset> preset() const {
    return kind_ == StyleKind::Gradient ? std::optional(preset_) : std::nullopt;
  }
  bool operator==(const LastStyle&) const = default;

 private:
  constexpr LastStyle(StyleKind kind, GradientPreset preset) : kind_(kind), preset_(preset) {}
  StyleKind kind_ = StyleKind::None;
  GradientPreset preset_ = GradientPreset::Grad1;
};

}  // namespace tessalune::engine
