#include "control_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <limits>
#include <string_view>

#include "box_edit.h"
#include "engine/colour.h"
#include "ui/controls.h"
#include "ui/gdi/system_colours.h"
#include "ui/window.h"

namespace tessalune::desktop {

namespace {

// The base of a control array's element name: "panelColorFG_solid" of "panelColorFG_solid(4)".
std::string_view arrayBase(const std::string& name) {
  return std::string_view(name).substr(0, name.find('('));
}

// Whether the arrow keys move between a and b: tabs of a row, elements of one array.
bool sameRow(const ui::Control& a, const ui::Control& b) {
  if (a.kind() != b.kind()) return false;
  return a.kind() == ui::ControlKind::Tab || (a.index() >= 0 && arrayBase(a.name()) == arrayBase(b.name()));
}

// Whether Enter presses the control wherever the focus is in its window.
bool isDefaultButton(const ui::Control& c) {
  const ui::Control* top = &c;
  while (top->container()) top = top->container();
  return top->kind() == ui::ControlKind::Window && static_cast<const ui::Window*>(top)->defaultButton() == &c;
}

// The nearest widget of the same row in the direction of the arrow key, or none.
QWidget* neighbour(QWidget& from, const ui::Control& control, int key) {
  if (!from.parentWidget()) return nullptr;
  const QPoint here = from.geometry().center();
  QWidget* best = nullptr;
  int bestScore = std::numeric_limits<int>::max();
  for (QObject* child : from.parentWidget()->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    auto* forwarding = dynamic_cast<MouseForwarding*>(child);
    if (!widget || widget == &from || !forwarding || !sameRow(control, forwarding->control()) ||
        !widget->isVisible() || !widget->isEnabled()) {
      continue;
    }
    const QPoint there = widget->geometry().center();
    const int dx = there.x() - here.x(), dy = there.y() - here.y();
    const bool ahead = key == Qt::Key_Right  ? dx > 0
                       : key == Qt::Key_Left ? dx < 0
                       : key == Qt::Key_Down ? dy > 0
                                             : dy < 0;
    if (!ahead) continue;
    const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
    const int score = across ? std::abs(dx) + 4 * std::abs(dy) : std::abs(dy) + 4 * std::abs(dx);
    if (score < bestScore) bestScore = score, best = widget;
  }
  return best;
}

}  // namespace

void takeTabStop(QWidget& widget, const ui::Control& control) {
  if (control.index() < 0 || control.kind() != ui::ControlKind::Picture || !widget.parentWidget()) return;
  for (QObject* child : widget.parentWidget()->children()) {
    auto* other = qobject_cast<QWidget*>(child);
    auto* forwarding = dynamic_cast<MouseForwarding*>(child);
    if (other && forwarding && other != &widget && sameRow(control, forwarding->control()))
      other->setFocusPolicy(Qt::NoFocus);
  }
  widget.setFocusPolicy(Qt::TabFocus);
}

QColor ViewContext::colour(std::uint32_t colour) const {
  const ui::gdi::SystemColours system = drawing ? drawing->systemColours() : ui::gdi::SystemColours{};
  const engine::ColourNumber rgb = system.translate(colour);
  return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>((rgb >> 16) & 0xFF));
}

bool MouseForwarding::key(QWidget& widget, QKeyEvent* event) {
  if (event->modifiers() & ~Qt::KeypadModifier) return false;
  switch (event->key()) {
    case Qt::Key_Space:
      control_.userStroke();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A button or link takes Enter; on a swatch, preset or tab it is the window's default
      // button's, as everywhere else in a dialog.
      if (control_.kind() != ui::ControlKind::OwnerDrawnButton && control_.kind() != ui::ControlKind::Link)
        return false;
      control_.userStroke();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (QWidget* next = neighbour(widget, control_, event->key())) {
        next->setFocus(Qt::TabFocusReason);
        return true;
      }
      return false;
    default:
      return false;
  }
}

void MouseForwarding::paintFocus(QWidget& widget, QPainter& painter) {
  if (!widget.hasFocus()) return;
  const QRect ring = widget.rect().adjusted(2, 2, -3, -3);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(ring);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawRect(ring);
}

DrawnWidget::DrawnWidget(ui::Control& control, const ViewContext& context, QWidget* parent)
    : QWidget(parent), MouseForwarding(control), context_(context) {
  if (control.kind() == ui::ControlKind::Link) setCursor(Qt::PointingHandCursor);
}

void DrawnWidget::keyPressEvent(QKeyEvent* event) {
  if (!key(*this, event)) QWidget::keyPressEvent(event);
}

void DrawnWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  takeTabStop(*this, control_);
  update();
}

void DrawnWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
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
  // A control that takes nothing now looks it: washed towards the classic face it stands on.
  if (!isEnabled()) {
    QColor face = context_.colour(ui::gdi::kButtonFace);
    face.setAlpha(150);
    painter.fillRect(rect(), face);
  }
  paintFocus(*this, painter);
  if (!hasEdge()) return;
  // A toggle that is on stays sunken, a bar of the classic selection blue along its foot
  // (far from the face's grey in any theme) saying so beyond the edges' shades.
  const bool on = toggled().value_or(false);
  if (on) {
    constexpr int kBar = 3;
    painter.fillRect(QRect(2, height() - 2 - kBar, width() - 4, kBar), QColor(0, 0, 128));
  }
  const bool sunken = control_.sunken() || on;
  const QColor light = context_.colour(ui::gdi::k3DHighlight);
  const QColor shadow = context_.colour(ui::gdi::kButtonShadow);
  const int right = width() - 1, bottom = height() - 1;
  painter.setPen(sunken ? shadow : light);
  painter.drawLine(0, 0, right, 0);
  painter.drawLine(0, 0, 0, bottom);
  painter.setPen(sunken ? light : shadow);
  painter.drawLine(right, 0, right, bottom);
  painter.drawLine(0, bottom, right, bottom);
  // The default button, which Enter presses, has the classic dark frame around its edges.
  if (isDefaultButton(control_)) {
    painter.setPen(context_.colour(ui::gdi::kButtonText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
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
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
  }
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) released(rect().contains(event->position().toPoint()));
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
  if (!key(*this, event)) QLabel::keyPressEvent(event);
}

void ClickLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  QPainter painter(this);
  paintFocus(*this, painter);
}

namespace {

// The sixteen colours of the palette by the names people know them by; others by their code.
QString colourName(engine::ColourNumber colour, const HostTexts& texts) {
  return texts.colourName(QString::fromStdString(engine::rgb2hex(colour)));
}

// The colour a painted control shows: its own, or that of the swatch it holds.
engine::ColourNumber shownColour(const QWidget& widget, const ui::Control& control) {
  for (QObject* child : widget.children()) {
    auto* forwarding = dynamic_cast<MouseForwarding*>(child);
    if (forwarding && forwarding->control().kind() == ui::ControlKind::Swatch)
      return forwarding->control().backColour();
  }
  return control.backColour();
}

const HostTexts& textsOf(const QWidget& widget) {
  static const HostTexts kUnfollowed;  // in the fallback language
  const auto* drawn = dynamic_cast<const DrawnWidget*>(&widget);
  return drawn && drawn->context().texts ? *drawn->context().texts : kUnfollowed;
}

// The caption of a label the control holds ("Other color..." on its frame), or "".
QString heldCaption(const QWidget& widget) {
  for (QObject* child : widget.children()) {
    auto* forwarding = dynamic_cast<MouseForwarding*>(child);
    if (forwarding && forwarding->control().kind() == ui::ControlKind::Label &&
        !forwarding->control().caption().empty())
      return QString::fromStdString(forwarding->control().caption()).remove('&');
  }
  return {};
}

// A painted control is named for what it does: its caption, the caption it holds, the
// preset or gradient end it is; a swatch of the palette by its colour.
QString accessibleName(const QWidget& widget, const ui::Control& c) {
  if (!widget.accessibleName().isEmpty()) return widget.accessibleName();  // the view's choice
  const HostTexts& texts = textsOf(widget);
  if (c.kind() == ui::ControlKind::OwnerDrawnButton || c.kind() == ui::ControlKind::Tab) {
    const std::string& caption = static_cast<const ui::OwnerDrawnButton&>(c).label().caption();
    // A glyph ("\u25C0") says nothing: the button is named by the way it goes.
    if (caption == "\u25C0") return texts(HostText::PreviousEntry);
    if (caption == "\u25B6") return texts(HostText::NextEntry);
    if (!caption.empty()) return QString::fromStdString(caption).remove('&');
  }
  if (const QString held = heldCaption(widget); !held.isEmpty()) return held;
  const std::string& name = c.name();
  if (c.index() >= 0 && arrayBase(name).ends_with("_grad"))
    return texts(HostText::Gradient, QString::fromStdString(name.substr(name.find('(') + 1)).chopped(1));
  if (c.index() < 0) {
    for (const char* end : {"grad1", "grad2"}) {
      if (name.find(end) != std::string::npos) return texts(HostText::GradientColour, QString(end).right(1));
    }
  }
  if (c.index() == 0 && arrayBase(name).ends_with("_solid")) return texts(HostText::CustomColour);
  if (c.kind() == ui::ControlKind::Link || c.kind() == ui::ControlKind::Label)
    return QString::fromStdString(c.caption());
  return colourName(shownColour(widget, c), texts);
}

// A tab stands in front when it stands higher than another tab of its row.
bool frontTab(const QWidget& widget) {
  if (!widget.parentWidget()) return false;
  bool higher = false;
  for (QObject* child : widget.parentWidget()->children()) {
    auto* other = qobject_cast<QWidget*>(child);
    auto* forwarding = dynamic_cast<MouseForwarding*>(child);
    if (!other || other == &widget || !forwarding || forwarding->control().kind() != ui::ControlKind::Tab)
      continue;
    if (other->y() < widget.y()) return false;
    higher = higher || other->y() > widget.y();
  }
  return higher;
}

class ControlAccessible : public QAccessibleWidget {
 public:
  ControlAccessible(QWidget* widget, MouseForwarding& forwarding)
      : QAccessibleWidget(widget, roleOf(forwarding.control())), forwarding_(forwarding) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return accessibleName(*widget(), forwarding_.control());
    // What a colour control holds, beside what it is for.
    if (t == QAccessible::Description && forwarding_.control().kind() != ui::ControlKind::Link) {
      const QString colour = colourName(shownColour(*widget(), forwarding_.control()), textsOf(*widget()));
      if (colour != accessibleName(*widget(), forwarding_.control())) return colour;
    }
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const ui::Control& c = forwarding_.control();
    s.pressed = c.sunken();
    if (const auto* drawn = dynamic_cast<const DrawnWidget*>(widget())) {
      if (const std::optional<bool> on = drawn->toggled()) {
        s.checkable = true;
        s.checked = *on;
        s.pressed = *on;
      }
    }
    if (c.kind() == ui::ControlKind::Tab) {
      s.selectable = true;
      s.selected = frontTab(*widget());
    }
    s.defaultButton = isDefaultButton(c);
    return s;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction()) forwarding_.control().userStroke();
  }

 private:
  static QAccessible::Role roleOf(const ui::Control& c) {
    switch (c.kind()) {
      case ui::ControlKind::Tab:
        return QAccessible::PageTab;
      case ui::ControlKind::Link:
        return QAccessible::Link;
      default:
        return QAccessible::Button;
    }
  }
  MouseForwarding& forwarding_;
};

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
  if (QAccessibleInterface* box = boxAccessible(object)) return box;
  auto* widget = qobject_cast<QWidget*>(object);
  auto* forwarding = dynamic_cast<MouseForwarding*>(object);
  if (!widget || !forwarding || !ui::actsForAPerson(forwarding->control())) return nullptr;
  return new ControlAccessible(widget, *forwarding);
}

}  // namespace

void showOnLightPaper(QWidget& widget) {
  QPalette paper = widget.palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    paper.setColor(group, QPalette::Base, Qt::white);
    paper.setColor(group, QPalette::Text, Qt::black);
  }
  widget.setPalette(paper);
}

void installAccessibility() {
  static const bool installed = (QAccessible::installFactory(accessibleFor), true);
  (void)installed;
}

}  // namespace tessalune::desktop
