#include "app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace tessalune::desktop {

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient blue(0, 0, size, size);
    blue.setColorAt(0, QColor(0x00, 0x00, 0x80));
    blue.setColorAt(1, QColor(0x00, 0x80, 0xFF));
    painter.setBrush(blue);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(size * 3 / 4);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, "T");
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tessalune::desktop
