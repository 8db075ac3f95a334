#pragma once

#include <QPalette>

namespace tessalune::desktop {

// Fusion's colours on a dark desktop: light text on dark faces, as a dark theme gives them.
QPalette darkPalette();

}  // namespace tessalune::desktop
