#pragma once

#include <QObject>
#include <map>

#include "ui/window.h"

class QWidget;

namespace tessalune::desktop {

// Gives a window's captions access keys (Alt and a letter), chosen in the language they are in
// so that no two of the window's controls share one. The keys are the view's alone: the
// window's captions, and the language files they come from, stay as they are. Buttons, check
// boxes and options take their key as Qt's do; a caption on a painted button or tab presses
// it.
class AccessKeys : public QObject {
 public:
  // widgets: the widget of each of the window's controls.
  AccessKeys(ui::Window& window, const std::map<const ui::Control*, QWidget*>& widgets, QObject* parent);

  // Marks every caption again (one of them changed).
  void mark();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ui::Window& window_;
  const std::map<const ui::Control*, QWidget*>& widgets_;
};

}  // namespace tessalune::desktop
