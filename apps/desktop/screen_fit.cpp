#include "screen_fit.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tessalune::desktop {

QRect fittedToScreen(const QWidget& window, QRect wanted) {
  const QScreen* screen = window.screen();
  if (!screen) return wanted;
  const QRect room = screen->availableGeometry();
  // The frame the window manager adds, where the window already has one.
  const QSize frame = window.frameGeometry().size() - window.geometry().size();
  const QSize most = (room.size() - frame).expandedTo(window.minimumSize());
  wanted.setSize(wanted.size().boundedTo(most));
  wanted.moveLeft(std::clamp(wanted.left(), room.left(),
                             std::max(room.left(), room.right() - frame.width() - wanted.width())));
  wanted.moveTop(std::clamp(wanted.top(), room.top(),
                            std::max(room.top(), room.bottom() - frame.height() - wanted.height())));
  return wanted;
}

void resizeToFit(QWidget& window, QSize wanted) {
  window.resize(fittedToScreen(window, QRect(window.pos(), wanted)).size());
}

}  // namespace tessalune::desktop
