#include "ui/gdi/gradient_fill.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/colour.h"

namespace tessalune::ui::gdi {
namespace {

// A vertex of the fill: a corner and its colour on 16-bit channels.
struct Vertex {
  int x;
  int y;
  std::array<int, 3> channels;  // red, green, blue, each byte * 256
};

Vertex vertex(int x, int y, ColourNumber colour) {
  return {x, y, {engine::redOf(colour) * 256, engine::greenOf(colour) * 256, engine::blueOf(colour) * 256}};
}

// Pixel i of a span of n from channel a to channel b.
int shade(int a, int b, int i, int n) {
  return static_cast<int>((a + static_cast<long long>(b - a) * i / n) >> 8);
}

// Shades the rectangle between two vertices along the direction; the colour of the vertex
// nearer the origin on that axis is the start colour.
void fillRect(Image& target, const Vertex& v1, const Vertex& v2, bool vertical) {
  const bool v1First = vertical ? v1.y <= v2.y : v1.x <= v2.x;
  const Vertex& from = v1First ? v1 : v2;
  const Vertex& to = v1First ? v2 : v1;
  const int x0 = std::min(v1.x, v2.x), x1 = std::max(v1.x, v2.x);
  const int y0 = std::min(v1.y, v2.y), y1 = std::max(v1.y, v2.y);
  const int start = vertical ? y0 : x0;
  const int n = vertical ? y1 - y0 : x1 - x0;
  if (n <= 0) return;

  const int left = std::max(x0, 0), right = std::min(x1, target.width());
  const int top = std::max(y0, 0), bottom = std::min(y1, target.height());
  if (left >= right || top >= bottom) return;
  const auto colourAt = [&](int i) {
    return engine::makeColour(shade(from.channels[0], to.channels[0], i, n),
                              shade(from.channels[1], to.channels[1], i, n),
                              shade(from.channels[2], to.channels[2], i, n)) &
           engine::kRgbMask;
  };
  // The colour depends on one coordinate only: work it out once per row or column.
  std::vector<ColourNumber> line(static_cast<std::size_t>(right - left));
  for (int y = top; y < bottom; ++y) {
    if (vertical) {
      std::fill(line.begin(), line.end(), colourAt(y - start));
    } else if (y == top) {
      for (int x = left; x < right; ++x) line[static_cast<std::size_t>(x - left)] = colourAt(x - start);
    }
    target.setRow(left, y, line);
  }
}

}  // namespace

void fillGradientRect(ColourNumber colour1, ColourNumber colour2, Image& target, int width, int height,
                      engine::GradientKind kind, FillDirection direction) {
  const bool vertical = direction == FillDirection::Vertical;
  switch (kind) {
    case engine::GradientKind::Linear:
      fillRect(target, vertex(0, 0, colour1), vertex(width, height, colour2), vertical);
      return;
    case engine::GradientKind::Mirrored: {
      const Vertex edge = vertex(0, 0, colour1);
      const Vertex middle = vertex(roundHalfToEven(width, 2), height, colour2);
      const Vertex otherEdge = vertex(width, 0, colour1);
      fillRect(target, edge, middle, vertical);
      fillRect(target, middle, otherEdge, vertical);
      return;
    }
  }
}

}  // namespace tessalune::ui::gdi
