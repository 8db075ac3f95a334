#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "lang/caption_target.h"
#include "ui/subscription.h"

namespace tessalune::ui {

// What a control is, for a view to pick how to draw it; no view needs dynamic_cast.
enum class ControlKind {
  Label,
  TextBox,
  RichTextBox,
  CheckBox,
  Option,
  Combo,
  List,
  Frame,
  Panel,
  Tab,
  Picture,
  Banner,
  OwnerDrawnButton,
  PushButton,
  Swatch,
  GradientPreview,
  ProgressBar,
  Link,
  Window,
};

// Whether a control of this kind takes the keyboard focus (and a place in the tab order).
constexpr bool takesFocus(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::RichTextBox:
    case ControlKind::CheckBox:
    case ControlKind::Option:
    case ControlKind::Combo:
    case ControlKind::List:
    case ControlKind::OwnerDrawnButton:
    case ControlKind::PushButton:
      return true;
    default:
      return false;
  }
}

class Control;

// What a person acts on: buttons, boxes, lists, tabs, links and the swatch frames; captions
// and the swatches inside frames, buttons and tabs act through what holds them. Defined
// after Control.
bool actsForAPerson(const Control& c);

// What changed on a control, as its subscribers are told.
enum class Property {
  Caption,
  Text,
  Visible,
  Enabled,
  Rect,
  BackColour,
  ForeColour,
  Checked,
  Selection,  // an option's selected state
  ListIndex,
  FontWeight,
  Sunken,   // an owner-drawn button's or swatch frame's pressed look
  Content,  // a rich-text box's text, formats or selection
};

// Told when the model begins and ends an action on a control (a click, a press, a choice, a
// text set), however it came: from a view, a script, a test or the plug-in's own routines.
// The plug-in carries out what an action asked of it (a restart, a halt) only once the
// outermost action has returned, when no handler of any window is running.
class ActionGate {
 public:
  virtual ~ActionGate() = default;
  virtual void enter() = 0;
  virtual void leave() noexcept = 0;
};

// A control of a window model: what every control has, whatever it shows. Positions are
// in twips (1/1440 inch, 15 to a pixel at 96 dots per inch), relative to the container.
//
// Views bind to a control through its name, kind, container and properties, subscribe to
// its changes, and forward the user's actions through the user* calls, which the model
// refuses unless the control is shown and usable (its own flags and every container's).
// The plug-in's own routines act through click(), choose() and the setters, which work on
// hidden windows too: a load selects options in the hidden preferences.
class Control : public lang::CaptionTarget {
 public:
  using Handler = std::function<void()>;
  using Observer = std::function<void(Control&, Property)>;

  explicit Control(std::string name, ControlKind kind = ControlKind::Picture)
      : name_(std::move(name)), kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  // The position in a control array, -1 for a control that is in none.
  int index() const { return index_; }
  void setIndex(int index) { index_ = index; }

  // The frame, panel, tab page, button or window that holds the control; null for a window.
  Control* container() const { return container_; }
  void setContainer(Control* container) { container_ = container; }

  const std::string& caption() const { return caption_; }
  // A new caption runs the change handler.
  void setCaption(std::string caption) override {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    if (onChange_) onChange_();
    notify(Property::Caption);
  }

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled) { set(enabled_, enabled, Property::Enabled); }
  bool visible() const { return visible_; }
  void setVisible(bool visible) { set(visible_, visible, Property::Visible); }
  // Effectively visible and enabled: the control's own flag and every container's.
  bool shown() const { return visible_ && (!container_ || container_->shown()); }
  bool usable() const { return enabled_ && (!container_ || container_->usable()); }
  // Visible as part of an outer control (its window), whether that one is shown or not.
  bool shownWithin(const Control& outer) const {
    return visible_ && (container_ == &outer || !container_ || container_->shownWithin(outer));
  }

  int top() const { return top_; }
  int left() const { return left_; }
  void move(int left, int top) {
    if (left == left_ && top == top_) return;
    left_ = left, top_ = top;
    notify(Property::Rect);
  }
  int width() const { return width_; }
  int height() const { return height_; }
  void resize(int width, int height) {
    if (width == width_ && height == height_) return;
    width_ = width, height_ = height;
    notify(Property::Rect);
  }

  // Moves and sizes the control at once: one notification.
  void place(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left, top_ = top, width_ = width, height_ = height;
    notify(Property::Rect);
  }

  // The pressed look of an owner-drawn button or swatch frame: edges sunken, what it holds
  // one pixel down and right. A view draws the edges from it.
  bool sunken() const { return sunken_; }
  void setSunken(bool sunken) { set(sunken_, sunken, Property::Sunken); }

  // A colour number, or a system colour (high bit set).
  std::uint32_t backColour() const { return backColour_; }
  void setBackColour(std::uint32_t colour) { set(backColour_, colour, Property::BackColour); }

  void setClickHandler(Handler handler) { onClick_ = std::move(handler); }
  void setPressHandler(Handler handler) { onPress_ = std::move(handler); }
  void setReleaseHandler(Handler handler) { onRelease_ = std::move(handler); }
  // The model's own reaction to a change of the caption or text (one slot, the window's).
  void setChangeHandler(Handler handler) { onChange_ = std::move(handler); }

  // Any number of views: each is told of every property that changes, until its
  // subscription ends or the control's window is unloaded.
  Subscription subscribe(Observer observer) { return observers_.add(std::move(observer)); }
  // Ends every subscription without a call (the window is unloaded).
  void dropSubscribers() { observers_.clear(); }

  // The gate told of every action on the window's controls; set on a window.
  void setActionGate(ActionGate* gate) { gate_ = gate; }

  // The plug-in's own actions, as its routines run them. A disabled control takes none.
  virtual void click() {
    const ActionScope action(*this);
    if (enabled_) runClick();
  }
  void press() {
    const ActionScope action(*this);
    if (enabled_ && onPress_) onPress_();
  }
  void release() {
    const ActionScope action(*this);
    if (enabled_ && onRelease_) onRelease_();
  }

  // The user's actions, as a view forwards them: refused unless shown and usable.
  bool acceptsUser() const { return shown() && usable(); }
  void userClick() {
    if (acceptsUser()) click();
  }
  void userPress() {
    if (acceptsUser()) press();
  }
  void userRelease() {
    if (acceptsUser()) release();
  }
  // A mouse click as a view forwards it: the button goes down, comes up, and the control
  // takes the click, each refused as above (a press that hides the control stops the rest).
  void userStroke() {
    const ActionScope action(*this);
    userPress();
    userRelease();
    userClick();
  }

 protected:
  // Opened first in every action, so that nothing of the control is touched after the
  // gate has been told that the outermost action ended.
  class ActionScope {
   public:
    explicit ActionScope(const Control& control) : gate_(control.actionGate()) {
      if (gate_) gate_->enter();
    }
    ~ActionScope() {
      if (gate_) gate_->leave();
    }
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

   private:
    ActionGate* gate_;
  };

  void runClick() {
    if (onClick_) onClick_();
  }
  void runChange() {
    if (onChange_) onChange_();
  }
  void notify(Property property) { observers_.notify(*this, property); }
  // The gate of the window the control lies on.
  ActionGate* actionGate() const {
    const Control* outermost = this;
    while (outermost->container_) outermost = outermost->container_;
    return outermost->gate_;
  }
  template <typename T>
  void set(T& field, T value, Property property) {
    if (field == value) return;
    field = std::move(value);
    notify(property);
  }

 private:
  std::string name_;
  ControlKind kind_;
  int index_ = -1;
  Control* container_ = nullptr;
  ActionGate* gate_ = nullptr;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool sunken_ = false;
  int top_ = 0;
  int left_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::uint32_t backColour_ = 0x8000000F;  // button face
  Handler onClick_;
  Handler onPress_;
  Handler onRelease_;
  Handler onChange_;
  Observers<Control&, Property> observers_;
};

inline bool actsForAPerson(const Control& c) {
  if (takesFocus(c.kind())) return true;
  switch (c.kind()) {
    case ControlKind::Tab:
    case ControlKind::Link:
      return true;
    case ControlKind::Picture:
      return c.index() >= 0;
    case ControlKind::Swatch:
      return c.container() && c.container()->kind() != ControlKind::Picture &&
             c.container()->kind() != ControlKind::OwnerDrawnButton &&
             c.container()->kind() != ControlKind::Tab;
    default:
      return false;
  }
}

}  // namespace tessalune::ui
