#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace tessalune::desktop {

namespace {

double luminance(const QColor& c) {
  const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& colour, const QColor& ground, double ratio) {
  // Towards black on a ground lighter than middle grey, towards white on a darker one; the
  // end of the way (black or white) stands at 4.58:1 at least against any ground.
  const bool darken = luminance(ground) > 0.18;
  const QColor end = darken ? QColor(Qt::black) : QColor(Qt::white);
  QColor shown = colour;
  for (int step = 1; step <= 20 && contrastRatio(shown, ground) < ratio; ++step) {
    const double t = step / 20.0;
    shown = QColor::fromRgbF(static_cast<float>(colour.redF() + (end.redF() - colour.redF()) * t),
                             static_cast<float>(colour.greenF() + (end.greenF() - colour.greenF()) * t),
                             static_cast<float>(colour.blueF() + (end.blueF() - colour.blueF()) * t));
  }
  return shown;
}

}  // namespace tessalune::desktop
