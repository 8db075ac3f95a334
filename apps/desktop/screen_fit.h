#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tessalune::desktop {

// The rectangle a top-level window of this size and place takes on the screen it is on: no
// larger than the screen's available area (the desktop's panels left out, at the scale the
// screen has), and moved into that area where it would stand out of it.
QRect fittedToScreen(const QWidget& window, QRect wanted);

// Gives a top-level window the size it asks for, or as much of it as its screen has room for.
void resizeToFit(QWidget& window, QSize wanted);

}  // namespace tessalune::desktop
