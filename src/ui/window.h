#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/controls.h"
#include "ui/gdi/owner_drawing.h"

namespace tessalune::ui {

class Window;

// Shows windows modally: the desktop runs a real dialog, the terminal its driver, tests a
// script. runModal returns once the window is hidden again.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual void runModal(Window& window) = 0;
};

// A window model: its title is its caption, its controls are registered by name. Windows
// are created hidden, shown modally, and hidden rather than closed.
class Window : public Control {
 public:
  explicit Window(std::string name) : Control(std::move(name), ControlKind::Window) { setVisible(false); }

  // Whether the user may resize the window; a view forwards the new size in twips, and the
  // window keeps its own rules (a minimum, what moves with the edges).
  virtual bool resizable() const { return false; }
  virtual void userResize(int, int) {}

  // Shows the window and returns when it has been hidden.
  void showModal(WindowSystem& windows) {
    setVisible(true);
    windows.runModal(*this);
    setVisible(false);
  }
  void hide() { setVisible(false); }
  // The user closes the window (its close box, Escape): its own Cancel or Close when it has
  // one shown and usable, so that the model decides, else the window is hidden.
  void userClose() {
    const ActionScope action(*this);
    if (cancelButton_ && cancelButton_->acceptsUser()) {
      cancelButton_->userStroke();
      return;
    }
    hide();
  }

  // Unloaded by a restart, a halt or the plug-in's end, just before it is destroyed (no
  // handler of any window runs then): every subscription to it and its controls ends
  // without a call.
  void unload() {
    hide();
    for (Control* c : controls_) c->dropSubscribers();
    dropSubscribers();
  }

  const std::vector<Control*>& controls() const { return controls_; }
  // The controls that take the keyboard focus, in the order Tab moves through them.
  std::vector<Control*> tabOrder() const {
    std::vector<Control*> order;
    for (Control* c : controls_) {
      if (actsForAPerson(*c)) order.push_back(c);
    }
    return order;
  }
  // What Enter and Escape press; null where the window has none.
  Control* defaultButton() const { return defaultButton_; }
  Control* cancelButton() const { return cancelButton_; }
  Control* find(const std::string& name) const {
    for (Control* c : controls_) {
      if (c->name() == name) return c;
    }
    return nullptr;
  }

 protected:
  void setKeyButtons(Control* defaultButton, Control* cancelButton) {
    defaultButton_ = defaultButton;
    cancelButton_ = cancelButton;
  }
  // The owner drawing the window's buttons and banner are registered with, which draws
  // their faces and press looks; none until the plug-in registers them.
  void attachDrawing(gdi::OwnerDrawing& drawing) { drawing_ = &drawing; }
  gdi::OwnerDrawing* drawing() const { return drawing_; }
  // A press shows the button's sunken look and a release its raised one, once it is
  // registered; the window's own press and release handlers are replaced.
  void bindButtonLook(OwnerDrawnButton& button) {
    button.setPressHandler([this, &button] { showPressed(button, true); });
    button.setReleaseHandler([this, &button] { showPressed(button, false); });
  }
  void showPressed(const Control& button, bool pressed) {
    if (drawing_) drawing_->showPressed(button, pressed);
  }
  // Registers each button with its caption as the moving element, at its registry
  // position, with its size now.
  void registerButtons(std::initializer_list<OwnerDrawnButton*> buttons) {
    for (OwnerDrawnButton* b : buttons) {
      drawing_->registerButton(gdi::buttonPosition(name(), b->name()), *b, {b->width(), b->height()}, {},
                               b->label());
    }
  }

  // Registers a control; one that no frame, panel or button holds lies on the window.
  void add(Control& control) {
    if (!control.container()) control.setContainer(this);
    controls_.push_back(&control);
  }

 private:
  std::vector<Control*> controls_;
  Control* defaultButton_ = nullptr;
  Control* cancelButton_ = nullptr;
  gdi::OwnerDrawing* drawing_ = nullptr;
};

}  // namespace tessalune::ui
