#pragma once

#include <cstdint>

#include "engine/colour.h"
#include "ui/controls.h"

namespace tessalune::ui::gdi {

// The system colours the owner-drawn controls use by role, beside the two of
// ui::system_colour: the high bit set and the role's number below it.
inline constexpr std::uint32_t kWindowBackground = system_colour::kFlag | 0x05;
inline constexpr std::uint32_t kButtonShadow = system_colour::kFlag | 0x10;
inline constexpr std::uint32_t kButtonText = system_colour::kFlag | 0x12;
inline constexpr std::uint32_t kButtonFace = system_colour::kButtonFace;
inline constexpr std::uint32_t k3DHighlight = system_colour::k3DHighlight;

// What the desktop's system colours are, as colour numbers, for rendering gradients. The
// defaults are the classic scheme; a front end may put its own palette's colours here.
struct SystemColours {
  engine::ColourNumber windowBackground = 0xFFFFFF;
  engine::ColourNumber buttonFace = 0xC8D0D4;  // 212, 208, 200
  engine::ColourNumber buttonShadow = 0x808080;
  engine::ColourNumber buttonText = 0x000000;
  engine::ColourNumber highlight3D = 0xFFFFFF;

  // A colour as a control holds it, as RGB: a plain colour keeps its low 24 bits, a system
  // colour becomes its role's colour, a role not listed above black.
  engine::ColourNumber translate(std::uint32_t colour) const {
    if (!isSystemColour(colour)) return colour & engine::kRgbMask;
    switch (colour) {
      case kWindowBackground:
        return windowBackground;
      case kButtonFace:
        return buttonFace;
      case kButtonShadow:
        return buttonShadow;
      case kButtonText:
        return buttonText;
      case k3DHighlight:
        return highlight3D;
      default:
        return 0;
    }
  }
};

}  // namespace tessalune::ui::gdi
