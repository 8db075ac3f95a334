#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <map>
#include <vector>

#include "control_widgets.h"
#include "ui/subscription.h"
#include "ui/window.h"

namespace tessalune::desktop {

// A window model as a Qt dialog: one widget per control at its rectangle, kept in step with
// the model through its notifications, the user's input forwarded as the model's user
// actions. The view holds no state of its own: what it shows is read from the model.
class WindowView : public QDialog {
 public:
  WindowView(ui::Window& window, ViewContext context, QWidget* parent = nullptr);

  ui::Window& window() { return window_; }
  // The widget that shows a control, for tests and screenshots.
  QWidget* widgetOf(const ui::Control& control) const;
  QWidget* widgetOf(const std::string& name) const;
  // Redraws every painted control (the plug-in's images changed).
  void repaintDrawn();
  // A widget of the host's own below the window's controls, as wide as the window; the
  // dialog grows by its height.
  void setFooter(QWidget* footer, int height);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* create(ui::Control& control);
  void apply(ui::Control& control, ui::Property property);
  void applyAll(ui::Control& control);
  bool formatKey(QKeyEvent* event);
  static bool onPaintedFace(const QWidget& widget);
  // The colour a widget's text stands on: the nearest background filled beneath it.
  static QColor groundOf(const QWidget& widget, QPalette::ColorGroup group);
  void forceTextOnPaintedFace(QWidget& widget);
  void fitToWindow();
  void nameForScreenReaders();
  // Press, release and click, as the mouse does.
  static void stroke(ui::Control* control);

  ui::Window& window_;
  ViewContext context_;
  std::map<const ui::Control*, QWidget*> widgets_;
  std::vector<QWidget*> drawn_;  // the widgets painted from the plug-in's images
  QWidget* footer_ = nullptr;
  int footerHeight_ = 0;
  std::vector<ui::Subscription> subscriptions_;
  class AccessKeys* accessKeys_ = nullptr;  // a child of the view
  std::map<const ui::OptionGroup*, QButtonGroup*> optionGroups_;
};

}  // namespace tessalune::desktop
