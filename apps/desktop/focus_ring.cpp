#include "focus_ring.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "contrast.h"
#include "control_widgets.h"

namespace tessalune::desktop {

namespace {

constexpr int kRingWidth = 2;

// The colour around a widget: a face the plug-in paints, else its parent's background.
QColor groundAround(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  if (!parent) return widget.palette().color(QPalette::Window);
  if (const auto* drawn = dynamic_cast<const DrawnWidget*>(parent))
    return drawn->context().colour(drawn->control().backColour());
  return parent->palette().color(parent->backgroundRole());
}

// The ring itself: a sibling of the focused widget, just larger than it, above it, and
// transparent to the mouse.
class FocusRing : public QWidget {
 public:
  explicit FocusRing(QWidget* parent) : QWidget(parent) {
    setObjectName("focusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
  }

  void surround(QWidget& target) {
    target_ = &target;
    if (parentWidget() != target.parentWidget()) setParent(target.parentWidget());
    colour_ =
        readableOn(target.palette().color(QPalette::Active, QPalette::Highlight), groundAround(target), 3.5);
    setGeometry(target.geometry().adjusted(-kRingWidth - 1, -kRingWidth - 1, kRingWidth + 1, kRingWidth + 1));
    raise();
    show();
  }
  bool surrounds(const QWidget* widget) const { return target_ == widget; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(colour_, kRingWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(
        QRectF(rect()).adjusted(kRingWidth / 2.0, kRingWidth / 2.0, -kRingWidth / 2.0, -kRingWidth / 2.0));
  }

 private:
  QPointer<QWidget> target_;
  QColor colour_;
};

// Follows the focus across the application: one ring per window, around its focus widget.
// Each window's ring is kept here rather than looked up among the window's children: focus
// also moves while a window deletes its children, when that list holds null entries.
class FocusRings : public QObject {
 public:
  explicit FocusRings(QObject* parent) : QObject(parent) {
    setObjectName("focusRings");
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) { moved(old, now); });
  }

 private:
  void moved(QWidget* old, QWidget* now) {
    if (old) {
      if (FocusRing* ring = rings_.value(old->window()); ring && ring->surrounds(old)) ring->hide();
    }
    // A widget that is a window, or that fills it, has nothing around it to ring.
    if (!now || now->isWindow() || !now->parentWidget() || dynamic_cast<FocusRing*>(now)) return;
    QWidget* window = now->window();
    QPointer<FocusRing>& ring = rings_[window];
    if (!ring) {
      ring = new FocusRing(now->parentWidget());
      connect(window, &QObject::destroyed, this, [this, window] { rings_.remove(window); });
    }
    ring->surround(*now);
  }

  QHash<const QWidget*, QPointer<FocusRing>> rings_;
};

}  // namespace

void installFocusRings() {
  if (!qApp || qApp->findChild<QObject*>("focusRings", Qt::FindDirectChildrenOnly)) return;
  new FocusRings(qApp);
}

}  // namespace tessalune::desktop
