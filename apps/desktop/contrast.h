#pragma once

#include <QColor>

namespace tessalune::desktop {

// The contrast ratio of two colours as the accessibility guidelines measure it, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

// The colour made darker (on a light ground) or lighter (on a dark one), keeping its hue,
// until it stands at ratio at least against ground; unchanged when it already does.
QColor readableOn(const QColor& colour, const QColor& ground, double ratio);

}  // namespace tessalune::desktop
