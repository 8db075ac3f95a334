#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <optional>

#include "host_texts.h"
#include "ui/control.h"
#include "ui/gdi/owner_drawing.h"

namespace tessalune::desktop {

// What every widget of a window view draws with: the plug-in's owner drawing, the screen's
// factor and the editor's last styles (its style swatches show a gradient only for one).
struct ViewContext {
  const ui::gdi::OwnerDrawing* drawing = nullptr;
  int twipsPerPixel = 15;
  std::function<ui::gdi::LastStyles()> lastStyles;
  const HostTexts* texts = nullptr;  // the host's words: the names a screen reader gives
  // Whether a button that toggles a format is on (the selection has it); none for a
  // control that is no toggle.
  std::function<std::optional<bool>(const ui::Control&)> toggled;

  int pixels(int twips) const { return ui::gdi::pixelsFromTwips(twips, twipsPerPixel); }
  QColor colour(std::uint32_t colour) const;
};

// Forwards the mouse to a control as the user's press, release and click: a click only when
// the button goes up over the widget. Space and Enter press a control that has the focus as
// a click does; the arrow keys move the focus within a row or grid of its kind.
class MouseForwarding {
 public:
  ui::Control& control() const { return control_; }

 protected:
  explicit MouseForwarding(ui::Control& control) : control_(control) {}
  void pressed() { control_.userPress(); }
  void released(bool inside) {
    control_.userRelease();
    if (inside) control_.userClick();
  }
  // True when the key was the control's.
  bool key(QWidget& widget, QKeyEvent* event);
  // A dotted ring inside the widget while it has the focus, seen on any colour.
  static void paintFocus(QWidget& widget, QPainter& painter);
  ui::Control& control_;
};

// An element of a grid or column of swatches or presets becomes the one Tab stop of its
// array (the others are reached with the arrow keys).
void takeTabStop(QWidget& widget, const ui::Control& control);

// Plus! text is made for light paper: the widget shows its text black on white, whatever the
// desktop's theme.
void showOnLightPaper(QWidget& widget);

// The name, role and state a screen reader gives a painted control or a link, and the
// press it can ask for; installed once for every view.
void installAccessibility();

// A control painted by the plug-in: a button face, banner, panel, swatch frame, swatch,
// preview, tab or progress bar. It copies the control's image when there is one, else fills
// its back colour, and draws a one-pixel raised or sunken edge where the control has one.
class DrawnWidget : public QWidget, public MouseForwarding {
 public:
  DrawnWidget(ui::Control& control, const ViewContext& context, QWidget* parent);
  const ViewContext& context() const { return context_; }
  // Whether the control toggles a format, and whether it is on.
  std::optional<bool> toggled() const { return context_.toggled ? context_.toggled(control_) : std::nullopt; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool hasEdge() const;
  const ViewContext& context_;
};

// A label; a click on it is the control's (a link opens, a button's caption presses it).
class ClickLabel : public QLabel, public MouseForwarding {
 public:
  ClickLabel(ui::Control& control, QWidget* parent);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tessalune::desktop
