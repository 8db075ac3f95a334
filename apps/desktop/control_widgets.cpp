#include "control_widgets.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "ui/gdi/system_colours.h"

namespace tessalune::desktop {

QColor ViewContext::colour(std::uint32_t colour) const {
  const ui::gdi::SystemColours system = drawing ? drawing->systemColours() : ui::gdi::SystemColours{};
  const engine::ColourNumber rgb = system.translate(colour);
  return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>((rgb >> 16) & 0xFF));
}

DrawnWidget::DrawnWidget(ui::Control& control, const ViewContext& context, QWidget* parent)
    : QWidget(parent), MouseForwarding(control), context_(context) {
  if (control.kind() == ui::ControlKind::Link) setCursor(Qt::PointingHandCursor);
}

bool DrawnWidget::hasEdge() const {
  switch (control_.kind()) {
    case ui::ControlKind::OwnerDrawnButton:
    case ui::ControlKind::Tab:
      return true;
    case ui::ControlKind::Picture:  // the editor's swatch frames and preset buttons
      return control_.index() >= 0;
    default:
      return control_.sunken();
  }
}

void DrawnWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const ui::gdi::LastStyles styles = context_.lastStyles ? context_.lastStyles() : ui::gdi::LastStyles{};
  const ui::gdi::Image* image = context_.drawing ? context_.drawing->imageFor(control_, styles) : nullptr;
  if (control_.kind() == ui::ControlKind::ProgressBar) {
    painter.fillRect(rect(), QColor(0, 84, 227));  // the system highlight of the classic scheme
  } else if (image && image->width() > 0 && image->height() > 0) {
    // 0x00BBGGRR in memory order R, G, B, 0 on a little-endian machine.
    const QImage pixels(reinterpret_cast<const uchar*>(image->pixels()), image->width(), image->height(),
                        image->stride() * 4, QImage::Format_RGBX8888);
    painter.drawImage(rect(), pixels);
  } else {
    painter.fillRect(rect(), context_.colour(control_.backColour()));
  }
  if (!hasEdge()) return;
  const bool sunken = control_.sunken();
  const QColor light = context_.colour(ui::gdi::k3DHighlight);
  const QColor shadow = context_.colour(ui::gdi::kButtonShadow);
  const int right = width() - 1, bottom = height() - 1;
  painter.setPen(sunken ? shadow : light);
  painter.drawLine(0, 0, right, 0);
  painter.drawLine(0, 0, 0, bottom);
  painter.setPen(sunken ? light : shadow);
  painter.drawLine(right, 0, right, bottom);
  painter.drawLine(0, bottom, right, bottom);
}

void DrawnWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed();
}

void DrawnWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) released(rect().contains(event->position().toPoint()));
}

ClickLabel::ClickLabel(ui::Control& control, QWidget* parent) : QLabel(parent), MouseForwarding(control) {
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTextFormat(Qt::PlainText);
  if (control.kind() == ui::ControlKind::Link) {
    setCursor(Qt::PointingHandCursor);
    setStyleSheet("color: #0000EE; text-decoration: underline;");
  }
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) released(rect().contains(event->position().toPoint()));
}

}  // namespace tessalune::desktop
