#pragma once

#include <string>
#include <utility>

namespace tessalune::ui {

// A control of a window model: what every control has, whatever it shows. Positions are
// in twips (1/1440 inch, 15 to a pixel at 96 dots per inch).
class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption) { caption_ = std::move(caption); }

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }

  bool visible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }

  int top() const { return top_; }
  int left() const { return left_; }
  void move(int left, int top) { left_ = left, top_ = top; }

 private:
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  int top_ = 0;
  int left_ = 0;
};

}  // namespace tessalune::ui
