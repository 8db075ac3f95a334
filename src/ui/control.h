#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace tessalune::ui {

// A control of a window model: what every control has, whatever it shows. Positions are
// in twips (1/1440 inch, 15 to a pixel at 96 dots per inch). Views find controls by
// name, read their state and call click(), press() and release(); they keep no state.
class Control {
 public:
  using Handler = std::function<void()>;

  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }

  const std::string& caption() const { return caption_; }
  // A new caption runs the change handler.
  void setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    if (onChange_) onChange_();
  }

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }

  bool visible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }

  int top() const { return top_; }
  int left() const { return left_; }
  void move(int left, int top) { left_ = left, top_ = top; }
  int width() const { return width_; }
  int height() const { return height_; }
  void resize(int width, int height) { width_ = width, height_ = height; }

  // A colour number, or a system colour (high bit set).
  std::uint32_t backColour() const { return backColour_; }
  void setBackColour(std::uint32_t colour) { backColour_ = colour; }

  void setClickHandler(Handler handler) { onClick_ = std::move(handler); }
  void setPressHandler(Handler handler) { onPress_ = std::move(handler); }
  void setReleaseHandler(Handler handler) { onRelease_ = std::move(handler); }
  void setChangeHandler(Handler handler) { onChange_ = std::move(handler); }

  // The user's actions. A disabled control takes none.
  virtual void click() {
    if (enabled_) runClick();
  }
  void press() {
    if (enabled_ && onPress_) onPress_();
  }
  void release() {
    if (enabled_ && onRelease_) onRelease_();
  }

 protected:
  void runClick() {
    if (onClick_) onClick_();
  }
  void runChange() {
    if (onChange_) onChange_();
  }

 private:
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  int top_ = 0;
  int left_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::uint32_t backColour_ = 0x8000000F;  // button face
  Handler onClick_;
  Handler onPress_;
  Handler onRelease_;
  Handler onChange_;
};

}  // namespace tessalune::ui
