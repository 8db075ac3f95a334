#pragma once

#include "engine/gradient.h"
#include "ui/gdi/image.h"

namespace tessalune::ui::gdi {

// Which way the colours of fillGradientRect change: from left to right, or from top to
// bottom.
enum class FillDirection { Horizontal, Vertical };

// Fills the rectangle (0, 0)-(width, height) of target (in pixels, clipped to the image)
// the way the platform's rectangle gradient fill does it: the colours become vertices with
// 16-bit channels (each byte c as c * 256), and a rectangle between two vertices is shaded
// along the direction. A span of n pixels from vertex colour a to vertex colour b gives its
// pixel i (0 to n - 1) the channel (a + (b - a) * i / n) >> 8, the division truncating
// toward zero: the first pixel is exactly a, the end vertex's own pixel is not drawn.
//
// Linear: vertices (0, 0) colour1 and (width, height) colour2, one rectangle.
// Mirrored: vertices (0, 0) colour1, (w2, height) colour2 and (width, 0) colour1, with w2 the
// half width rounded half to even; rectangles 0-1 and 1-2. Horizontally the pixel at w2 is
// exactly colour2; vertically both rectangles run from colour1 at the top (the vertex at
// y = 0) to colour2 at the bottom.
// An empty rectangle leaves target unchanged.
void fillGradientRect(ColourNumber colour1, ColourNumber colour2, Image& target, int width, int height,
                      engine::GradientKind kind, FillDirection direction);

}  // namespace tessalune::ui::gdi
